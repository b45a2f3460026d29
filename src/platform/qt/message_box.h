#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

// Modal message boxes labelled in the language a Windows language identifier
// names (2052 simplified Chinese, 1028 and 3076 traditional Chinese, others
// English), button texts included. show() blocks until the box is closed
// while the window keeps handling its messages.
class MessageBox {
public:
    enum class Buttons { Ok, YesNo, OkCancel };
    enum class Answer { No, Yes };

    struct Request {
        QString text;
        QString caption;
        int languageId = 1033;
        Buttons buttons = Buttons::Ok;
    };

    // Yes for OK. Closing the box any other way answers No (OK boxes: Yes).
    static Answer show(QWidget* owner, const Request& request);

    // The button texts of a language identifier: OK, Yes, No.
    static QString okText(int languageId);
    static QString yesText(int languageId);
    static QString noText(int languageId);
    static QString cancelText(int languageId);

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
