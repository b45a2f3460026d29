#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

// Modal message boxes with button texts in the program's language (the
// texts' numbering: 0 simplified Chinese, 1 traditional Chinese, 2 English;
// anything else English). show() blocks until the box is closed
// while the window keeps handling its messages.
class MessageBox {
public:
    enum class Buttons { Ok, YesNo, OkCancel };
    enum class Answer { No, Yes };

    struct Request {
        QString text;
        QString caption;
        int language = 2;
        Buttons buttons = Buttons::Ok;
    };

    // Yes for OK. Closing the box any other way answers No (OK boxes: Yes).
    static Answer show(QWidget* owner, const Request& request);

    // The button texts of a language: OK, Yes, No, Cancel.
    static QString okText(int language);
    static QString yesText(int language);
    static QString noText(int language);
    static QString cancelText(int language);

    // Called on the user-interface thread as soon as a box is open. An answer
    // closes the box with that answer; nothing leaves it open for the user.
    // Tests use it to read and answer boxes.
    using Observer = std::function<std::optional<Answer>(const Request&)>;
    static void setObserver(Observer observer);

    // Boxes open right now, innermost last.
    static int openCount();
    static std::optional<Request> innermost();
    // Closes the innermost open box with the answer; false when none is open.
    static bool answerInnermost(Answer answer);
};
