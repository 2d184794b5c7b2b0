#include "pdf_metadata.h"

#include <QtGlobal>

namespace velmont::print {

namespace {

QString xmlText(const QString& text) {
  QString kept;
  kept.reserve(text.size());
  for (const QChar ch : text)
    if (ch.unicode() >= 0x20 || ch == u'\t') kept.append(ch);
  return kept.toHtmlEscaped();
}

}  // namespace

QByteArray archivalXmp(const PdfMetadata& m) {
  // The writer's document information gives its own version as the producer
  // and the creation time to the second; the packet says the same.
  const QString when = m.created.toUTC().toString(Qt::ISODate);
  const QString producer = QStringLiteral("Qt ") + QString::fromLatin1(qVersion());
  QString xmp;
  xmp += QStringLiteral("<?xpacket begin='") + QChar(0xFEFF) + QStringLiteral("' id='W5M0MpCehiHzreSzNTczkc9d'?>\n");
  xmp += QStringLiteral(
      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
      " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
      "  <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n");
  xmp += "   <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">" + xmlText(m.title) +
         "</rdf:li></rdf:Alt></dc:title>\n";
  if (!m.author.trimmed().isEmpty())
    xmp += "   <dc:creator><rdf:Seq><rdf:li>" + xmlText(m.author.trimmed()) + "</rdf:li></rdf:Seq></dc:creator>\n";
  xmp += QStringLiteral("  </rdf:Description>\n");
  xmp += "  <rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" xmp:CreatorTool=\"" +
         xmlText(m.creator) + "\" xmp:CreateDate=\"" + when + "\" xmp:ModifyDate=\"" + when + "\"/>\n";
  xmp += "  <rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" pdf:Producer=\"" +
         xmlText(producer) + "\"/>\n";
  xmp += QStringLiteral(
      "  <rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\" pdfaid:part=\"1\" "
      "pdfaid:conformance=\"B\"/>\n"
      " </rdf:RDF>\n"
      "</x:xmpmeta>\n"
      "<?xpacket end='w'?>");
  return xmp.toUtf8();
}

}  // namespace velmont::print
