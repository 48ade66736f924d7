// The scripted prompter that tests install instead of message boxes.
#include "common/prompter.h"
#include "tests/fakes/scripted_prompter.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(PrompterTest, ScriptedAnswersThenFirstButton) {
    ScriptedPrompter p;
    const Subscription scope = InstallPrompter(p);
    p.Answer(mrNo);
    EXPECT_EQ(CurrentPrompter().MessageDlg("q1", MsgType::Confirmation, MsgButtons::YesNo), mrNo);
    EXPECT_EQ(CurrentPrompter().MessageDlg("q2", MsgType::Confirmation, MsgButtons::YesNoAll), mrYes);
    EXPECT_EQ(CurrentPrompter().MessageDlg("q3", MsgType::Warning, MsgButtons::OkCancel), mrOk);
    ASSERT_EQ(p.Questions().size(), 3u);
    EXPECT_EQ(p.Questions()[0].text, "q1");
    EXPECT_EQ(p.Questions()[2].type, MsgType::Warning);
}

TEST(PrompterTest, ScopesNest) {
    ScriptedPrompter outer;
    ScriptedPrompter inner;
    {
        const Subscription a = InstallPrompter(outer);
        {
            const Subscription b = InstallPrompter(inner);
            CurrentPrompter().ShowMessage("inner");
        }
        CurrentPrompter().ShowMessage("outer");
    }
    EXPECT_EQ(inner.Questions().size(), 1u);
    EXPECT_EQ(outer.Questions().size(), 1u);
    EXPECT_EQ(MsgCaption(MsgType::Confirmation), "確認");
    EXPECT_EQ(MsgCaption(MsgType::Warning), "警告");
}

}  // namespace
}  // namespace kestrum
