#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <mutex>

#include "app/progress_dialog.h"
#include "link/link_ui.h"
#include "platform/qt/cross_thread_caller.h"

// The link's user interface on Qt: the bridge between the link's threads and
// the window. Posted link events reach the window's handler on the
// user-interface thread in the order they were posted; sent events and message boxes hold the
// calling thread until the window has handled them or the user has closed the
// box; progress calls are safe from any thread. After close() nothing reaches
// the window any more and no thread waits for it.
class QtLinkUi : public LinkUi {
public:
    QtLinkUi() = default;
    ~QtLinkUi() override { close(); }

    using EventHandler = std::function<void(int code, int argument)>;

    // On the user-interface thread: the window that owns the message boxes and
    // the progress dialog (created here), and what takes the link events.
    void attach(QWidget* window, EventHandler handler);
    // Another window takes the link events for a while (the routing page);
    // null gives them back to the attached window.
    void setEventTarget(QObject* target, EventHandler handler = {});
    void close();

    ProgressDialog* progressDialog() const { return m_progress.data(); }

    void postEvent(int code, int argument) override;
    void sendEvent(int code, int argument) override;
    Answer messageBox(const std::string& text, const std::string& caption, int language,
                      Buttons buttons) override;
    void progressSetMaximum(int maximum) override;
    void progressSetFormat(const std::string& format) override;
    void progressSetPosition(int position) override;
    void progressShow() override;
    void progressHide() override;
    void progressSetCancellable(bool cancellable) override;
    bool progressCancelled() const override;
    void setWindowTitle(const std::string& title) override;

private:
    struct Target {
        QPointer<QObject> context;
        EventHandler handler;
    };
    // Empty once closed.
    Target eventTarget() const;
    // The progress dialog while the bridge is open, under the lock.
    template <typename Fn>
    void withProgress(Fn fn);

    mutable std::mutex m_mutex;
    bool m_closed = false;
    QPointer<QWidget> m_window;
    EventHandler m_windowHandler;
    Target m_target;
    QPointer<ProgressDialog> m_progress;  // a child of the window
    std::unique_ptr<CrossThreadCaller> m_caller;
};
