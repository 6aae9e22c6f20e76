#include "app/preferences/PTPreferencesPane.h"

#include "app/preferences/PTPreferencesRowView.h"
#include "app/preferences/PTPreferencesTitleLabel.h"

#include "platform/runtime/Defaults.h"
#include "ui/controls/PTSegmentedControl.h"
#include "ui/controls/PTSmallTextLabel.h"
#include "ui/controls/PTSwitchControl.h"
#include "ui/theme/PTStyles.h"
#include "ui/views/PTPanelSeparator.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
constexpr int MinimumRowHeight = 48;
}

PTPreferencesPane::PTPreferencesPane(const QString& identifier, QWidget* parent)
    : PTStackView(parent), identifier_(identifier)
{
    setObjectName(identifier);
    auto* separator = new PTPanelSeparator;
    separator->setSoften(true);
    separator->resize(Width, 1);
    setSpacerView(separator);
    setSpacing(1);
    resize(Width, 10);
}

namespace {

// The title and, when there is one, the line of detail under it.
QVBoxLayout* makeTexts(const QString& title, const QString& detail)
{
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* titleLabel = new PTPreferencesTitleLabel(title);
    titleLabel->setFont(PTStyles::systemFont(13));
    texts->addWidget(titleLabel);
    if (!detail.isEmpty()) {
        auto* detailLabel = new PTSmallTextLabel(detail);
        detailLabel->setWordWrap(true);
        texts->addWidget(detailLabel);
    }
    return texts;
}

} // namespace

PTPreferencesRowView* PTPreferencesPane::addRow(const QString& title, const QString& detail, QWidget* control)
{
    auto* content = new QWidget;
    auto* columns = new QHBoxLayout(content);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addLayout(makeTexts(title, detail), 1);
    if (control) {
        if (control->accessibleName().isEmpty())
            control->setAccessibleName(title);
        columns->addWidget(control, 0, Qt::AlignRight | Qt::AlignVCenter);
    }
    return addRow(content);
}

PTPreferencesRowView* PTPreferencesPane::addSection(const QString& title, const QString& detail, QWidget* body)
{
    auto* content = new QWidget;
    auto* rows = new QVBoxLayout(content);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(6);
    rows->addLayout(makeTexts(title, detail));
    rows->addWidget(body);
    return addRow(content);
}

PTPreferencesRowView* PTPreferencesPane::addRow(QWidget* content)
{
    auto* row = new PTPreferencesRowView;
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(20, 10, 20, 10);
    layout->addWidget(content);
    row->resize(Width, std::max(MinimumRowHeight, layout->heightForWidth(Width) > 0 ? layout->heightForWidth(Width)
                                                                                    : row->sizeHint().height()));
    addView(row);
    return row;
}

PTSwitchControl* PTPreferencesPane::addSwitchRow(const QString& title, const QString& detail, const QString& key,
                                                 bool negate)
{
    PTSwitchControl* control = makeSwitch(title);
    control->setObjectName(key);
    pt::Defaults::standard().bindBool(control, "checked", key, negate);
    addRow(title, detail, control);
    return control;
}

PTSwitchControl* PTPreferencesPane::makeSwitch(const QString& accessibleName)
{
    auto* control = new PTSwitchControl;
    control->setAccessibleName(accessibleName);
    control->setFixedSize(38, 22);
    return control;
}

PTSegmentedControl* PTPreferencesPane::makeButton(const QString& label, const std::function<void()>& handler)
{
    auto* button = new PTSegmentedControl;
    button->setSegmentCount(1);
    button->setLabel(label, 0);
    button->setAccessibleName(label);
    button->setAutoCalculatesFrame(true);
    // Room for the whole label, however the control measures it.
    button->setMinWidth(std::max(80, QFontMetrics(PTStyles::systemFont(13)).horizontalAdvance(label) + 32));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QObject::connect(button, &PTSegmentedControl::action, button, [handler](int) { handler(); });
    return button;
}

void PTPreferencesPane::finishRows()
{
    relayout();
}
