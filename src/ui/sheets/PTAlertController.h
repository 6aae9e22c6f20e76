#pragma once

#include <QString>

#include <functional>

// The confirmation alert with a "do not show again" box remembered under a defaults key of the caller's choice.
// Once the user has confirmed with the box ticked, later alerts with the key show nothing and confirm at once.
class PTAlertController {
public:
    using Completion = std::function<void(bool confirmed)>;

    struct Answer {
        bool confirmed = false;
        bool suppress = false;
    };

    // Runs the alert application-modal: OK (the default) and, when asked for, Cancel. The completion is called
    // once, before this returns. The suppression is stored only with a confirmation, so a Cancel with the box
    // ticked never turns later questions into silent confirmations.
    static void presentAlertWithTitle(const QString& title, const QString& text, bool hasCancelButton,
                                      const QString& suppressionButtonKey, const Completion& completion);
    static void presentAlertWithTitle(const QString& title, const QString& text, const QString& suppressionButtonKey,
                                      const Completion& completion);

    // The alert alone: what the user pressed and whether the box was ticked.
    static Answer run(const QString& title, const QString& text, bool hasCancelButton);
};
