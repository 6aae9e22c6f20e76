#include "ui/sheets/PTAlertController.h"
#include "ui/PTInterfaceKit.h"

#include "platform/runtime/Defaults.h"
#include "platform/ui/ModalRunner.h"

#include "library/controllers/PTConfirmation.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

const QString Key = QStringLiteral("PTCollectionControllerDeleteSuppressionKey");

class AlertControllerTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        pt::ModalRunner::setHook({});
        pt::Defaults::standard().remove(Key);
    }
    // Each alert shown: ticks the box when asked and presses the button.
    void answerWith(QMessageBox::StandardButton button, bool tick)
    {
        pt::ModalRunner::setHook([this, button, tick](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            ASSERT_TRUE(box);
            ++shown;
            buttons = box->buttons().size();
            box->checkBox()->setChecked(tick);
            box->button(button)->click();
        });
    }
    bool present(bool hasCancel = true)
    {
        std::optional<bool> answer;
        PTAlertController::presentAlertWithTitle(QStringLiteral("Delete?"), QStringLiteral("The icons go."),
                                                 hasCancel, Key, [&](bool confirmed) {
                                                     EXPECT_FALSE(answer) << "completion called twice";
                                                     answer = confirmed;
                                                 });
        EXPECT_TRUE(answer) << "completion not called";
        return answer.value_or(false);
    }

    int shown = 0;
    qsizetype buttons = 0;
};

TEST_F(AlertControllerTest, OkWithTheBoxTickedIsRememberedAndLaterAlertsConfirmSilently)
{
    answerWith(QMessageBox::Ok, true);
    EXPECT_TRUE(present());
    EXPECT_EQ(buttons, 2);
    EXPECT_TRUE(pt::Defaults::standard().boolForKey(Key));

    EXPECT_TRUE(present());
    EXPECT_EQ(shown, 1);
}

TEST_F(AlertControllerTest, CancelWithTheBoxTickedStoresNothing)
{
    answerWith(QMessageBox::Cancel, true);
    EXPECT_FALSE(present());
    EXPECT_FALSE(pt::Defaults::standard().objectForKey(Key).isValid());
    EXPECT_FALSE(present());
    EXPECT_EQ(shown, 2);
}

TEST_F(AlertControllerTest, WithoutCancelOnlyOkIsOffered)
{
    answerWith(QMessageBox::Ok, false);
    EXPECT_TRUE(present(false));
    EXPECT_EQ(buttons, 1);
    EXPECT_FALSE(pt::Defaults::standard().objectForKey(Key).isValid());
}

TEST_F(AlertControllerTest, TheLibrarysConfirmationAsksThroughTheAlert)
{
    PTInterfaceKit::installLibrarySeams();
    answerWith(QMessageBox::Ok, true);
    EXPECT_TRUE(PTConfirmation::confirm(QStringLiteral("Delete?"), QStringLiteral("The set goes."), Key));
    EXPECT_TRUE(pt::Defaults::standard().boolForKey(Key));
    PTConfirmation::install(nullptr);
}

} // namespace
