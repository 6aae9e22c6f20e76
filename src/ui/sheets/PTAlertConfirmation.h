#pragma once

#include "library/controllers/PTConfirmation.h"

// The library's confirmation question, asked with the suppressible alert.
class PTAlertConfirmation : public PTConfirmation {
public:
    Answer ask(const QString& title, const QString& text) override;
};
