#pragma once

#include <QString>

#include <memory>

// The question the library asks before it deletes something: a title, a text, OK and Cancel, and a "do not ask
// again" box. The interface kit installs the alert at start-up; tests install fakes. With none installed nothing
// is confirmed, so nothing is deleted unasked.
class PTConfirmation {
public:
    struct Answer {
        bool confirmed = false;
        // The user ticked "do not ask again".
        bool suppress = false;
    };

    virtual ~PTConfirmation() = default;
    // Shows the question modally and answers when the user has chosen.
    virtual Answer ask(const QString& title, const QString& text) = 0;

    static void install(std::shared_ptr<PTConfirmation> confirmation);
    static std::shared_ptr<PTConfirmation> installed();

    // Answers true at once when the boolean default `suppressionKey` is set; else asks. The suppression is stored
    // only with a confirmation: a Cancel with the box ticked must not turn later questions into silent deletions.
    static bool confirm(const QString& title, const QString& text, const QString& suppressionKey);
};
