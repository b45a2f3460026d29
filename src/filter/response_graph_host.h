#pragma once

// What the response graph's logic asks of the window that shows it.
class ResponseGraphHost {
public:
    virtual ~ResponseGraphHost() = default;

    // The graph's notification to its parent: (1, 0) high-pass, (2, 0)
    // low-pass, (0, j) equaliser band j, (3, 0) "Copy", (4, 0) "Paste".
    virtual void notify(int code, int band) = 0;
    virtual void invalidate() = 0;  // the picture must be redrawn
    virtual void setCapture(bool on) = 0;
    virtual void setHandCursor(bool hand) = 0;
    virtual void takeFocus() = 0;
};
