#include <cups/cups.h>

#include "spooler.h"

namespace velmont::print {

namespace {

// The spooler's sentence as the tail of ours: "The printer or class is not currently
// accepting jobs." becomes "the printer or class is not currently accepting jobs".
QString asClause(const char* sentence) {
  QString text = QString::fromUtf8(sentence ? sentence : "").trimmed();
  while (text.endsWith('.')) text.chop(1);
  if (text.isEmpty()) return QStringLiteral("the print system gave no reason");
  if (text.size() > 1 && text[0].isUpper() && text[1].isLower()) text[0] = text[0].toLower();
  return text;
}

}  // namespace

QString queueRefusal(const QString& queue) {
  const QByteArray name = queue.toLocal8Bit();
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                   name.constData());
  ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  static const char* const kAsked[] = {"printer-is-accepting-jobs", "printer-state-message"};
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, kAsked);
  ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
  if (!response || cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
    ippDelete(response);
    return QStringLiteral("the print system does not know this printer (") + asClause(cupsLastErrorString()) + ')';
  }
  QString reason;
  ipp_attribute_t* accepting = ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
  if (accepting && !ippGetBoolean(accepting, 0)) {
    reason = QStringLiteral("it is not accepting jobs");
    ipp_attribute_t* message = ippFindAttribute(response, "printer-state-message", IPP_TAG_TEXT);
    const QString why = message ? QString::fromUtf8(ippGetString(message, 0, nullptr)).trimmed() : QString();
    if (!why.isEmpty()) reason += QStringLiteral(" (") + why + ')';
  }
  ippDelete(response);
  return reason;
}

QString jobRefusal() {
  // The spooler's answer to the thread's last request, which for a job just
  // sent is the answer to that job.
  if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE) return {};
  return asClause(cupsLastErrorString());
}

}  // namespace velmont::print
