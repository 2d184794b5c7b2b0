// Code pages through ICU, as Qt's string decoder offers them.
#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include "code_page_converter.h"

namespace velmont::qtcore {
namespace {

// ICU's names: the DOS code pages as "IBMnnn", the Windows ones as "windows-nnnn".
QByteArray converterName(int codePage) {
  const QByteArray n = QByteArray::number(codePage);
  return codePage < 1000 && codePage != 874 ? "IBM" + n : "windows-" + n;
}

}  // namespace

bool convertUpperHalf(int codePage, char16_t (&table)[256]) {
  const QByteArray name = converterName(codePage);
  if (!QStringDecoder(name.constData()).isValid()) return false;
  for (int b = 0x80; b < 0x100; ++b) {
    QStringDecoder decoder(name.constData());
    const char byte = char(b);
    const QString one = decoder(QByteArrayView(&byte, 1));
    if (!decoder.hasError() && one.size() == 1 && one[0] != QChar(u'\uFFFD')) table[b] = one[0].unicode();
  }
  return true;
}

}  // namespace velmont::qtcore
