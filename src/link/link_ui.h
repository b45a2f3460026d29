#pragma once

#include <string>

// Everything the link asks of the user interface. The window implements it on
// Qt; the console runner prints. Calls come from the link's threads.
class LinkUi {
public:
    enum class Buttons { Ok, YesNo, OkCancel };
    enum Answer { No = 0, Yes = 1 };

    virtual ~LinkUi() = default;

    // Link event message: queued in order, handled later on the UI thread.
    virtual void postEvent(int code, int argument) = 0;
    // Link event message: returns after the window has handled it.
    virtual void sendEvent(int code, int argument) = 0;
    // Returns when the user has closed the box; Yes for OK (No for Cancel).
    // The language is a Language index and labels the buttons.
    virtual Answer messageBox(const std::string& text, const std::string& caption, int language,
                              Buttons buttons) = 0;

    virtual void progressSetMaximum(int maximum) = 0;
    // A format with one floating-point placeholder, filled with position * 100 / maximum.
    virtual void progressSetFormat(const std::string& format) = 0;
    virtual void progressSetPosition(int position) = 0;
    virtual void progressShow() = 0;
    virtual void progressHide() = 0;
    // A Cancel on the progress for what its caller can stop (a download);
    // progressCancelled() is true once it was pressed since it was offered.
    virtual void progressSetCancellable(bool) {}
    virtual bool progressCancelled() const { return false; }

    virtual void setWindowTitle(const std::string& title) = 0;

    // Values from the device have just changed mirror entries (told on the
    // reader thread, ahead of their parameter events, which wait for the
    // supervisor's next loop): a user interface that follows the mirror may look now.
    virtual void valuesChanged() {}
};
