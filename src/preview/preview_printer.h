#pragma once
// The preview printer: a preview document (print/preview_document.h) with its window
// (preview_window.h). It records like the document and answers the document's window
// calls with the preview window, which it builds on the first call; the window holds
// the document and puts the print questions to the user.
//
// A run uses it like a page printer:
//   auto printer = lmNewPreview(deviceName);       // then test lInitErr
//   ... as a preview document: openPwin shows the window and waits for its answer.
//
// Threads: a report draws on its worker thread; the window and its widgets live on the
// GUI thread. openPwin, called by the worker, shows the window on the GUI thread and
// blocks the worker until the window answers; the window touches the document only
// while the worker waits there. openPwin, destroyPwin and destroy wait for the GUI
// thread, which therefore must not be waiting for the run meanwhile.
#include <QString>
#include <atomic>
#include <memory>
#include <optional>

#include "print/preview_document.h"

class QWidget;

namespace velmont::preview {

class PreviewAnswer;
class PreviewWindow;
struct PreviewCall;

class lmcPrv3 : public print::PreviewDocument {
 public:
  lmcPrv3();
  ~lmcPrv3() override;

  // Destroys the window (when alive), then the document.
  lmcPrv3& destroy() override;
  // Shows the window on the recorded pages and waits for the user's answer: 0 stop or
  // finished, 1 go on and ask again before the next page, 2 run on to the end. Without
  // a GUI it answers 0 at once.
  int openPwin(const print::PwinOptions& options = {}) override;
  // Destroys the window, from any thread; the run does so after the final call.
  void destroyPwin() override;
  // The window while it exists, else null; for the GUI thread.
  PreviewWindow* window() const { return window_.load(); }

 protected:
  bool confirmPrint(const QString& question) override;
  std::optional<QString> chooseOutputFile(const QString& suggested) override;
  void tell(const QStringList& lines) override;
  void pageAdded() override;

 private:
  // Builds the window when there is none and starts the call; on the GUI thread.
  void beginCall(const PreviewCall& call, bool stayOnTop, const std::shared_ptr<PreviewAnswer>& answer);

  std::atomic<PreviewWindow*> window_{nullptr};
};

// A preview printer for the device name, not yet created; test lInitErr before using it.
std::unique_ptr<lmcPrv3> lmNewPreview(const QString& deviceName);

}  // namespace velmont::preview
