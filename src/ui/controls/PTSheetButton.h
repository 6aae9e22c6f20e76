#pragma once

#include <QPushButton>

// The buttons of sheets: the accept button (blue gradient, white title) and the close button (the theme's field
// colour, a grey border, the controls' text colour). A disabled one is drawn faded. Titles are truncated at the
// tail.
class PTSheetButton : public QPushButton {
    Q_OBJECT
public:
    enum class Kind { Accept, Close };

    PTSheetButton(Kind kind, const QString& title, QWidget* parent = nullptr);
    Kind kind() const { return kind_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_;
};

// The default button of a sheet.
class PTSheetAcceptButton : public PTSheetButton {
    Q_OBJECT
public:
    explicit PTSheetAcceptButton(const QString& title, QWidget* parent = nullptr)
        : PTSheetButton(Kind::Accept, title, parent)
    {
    }
};

// The cancel or close button of a sheet.
class PTSheetCloseButton : public PTSheetButton {
    Q_OBJECT
public:
    explicit PTSheetCloseButton(const QString& title, QWidget* parent = nullptr)
        : PTSheetButton(Kind::Close, title, parent)
    {
    }
};
