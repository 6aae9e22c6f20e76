#include "library/controllers/PTTagController.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(PTTagController, ValidTagsAndCutting)
{
    const std::vector<std::pair<QString, bool>> validity{
        {"", false}, {"7", false}, {"a", false}, {"42", false}, {"ab", true}, {"a1", true}, {"arrow", true},
    };
    for (const auto& [tag, valid] : validity)
        EXPECT_EQ(PTTagController::isValid(tag), valid) << tag.toStdString();

    EXPECT_EQ(PTTagController::tagsForString("arrow_left-24 px,,x"), (QSet<QString>{"arrow", "left", "px"}));
    EXPECT_TRUE(PTTagController::tagsForString("__--").isEmpty());
}
