#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

TEST(MessageService, RecorderSeesTextIconAndAnswers)
{
    MessageRecorder recorder;
    recorder.answerNext(MsgResult::No);
    EXPECT_EQ(ShowMessage(QStringLiteral("Delete?"), MsgIcon::Question, MsgButtons::YesNo),
              MsgResult::No);
    EXPECT_EQ(ShowMessage(QStringLiteral("Saved"), MsgIcon::Information), MsgResult::Ok);
    ASSERT_EQ(recorder.messages().size(), 2);
    EXPECT_EQ(recorder.messages()[0].text, QStringLiteral("Delete?"));
    EXPECT_EQ(recorder.messages()[0].icon, MsgIcon::Question);
    EXPECT_EQ(recorder.messages()[1].buttons, MsgButtons::Ok);
}

TEST(MessageService, WithoutHandlerTheSafestAnswerIsReturned)
{
    {
        MessageRecorder recorder; // installed, then removed again
    }
    EXPECT_EQ(ShowMessage(QStringLiteral("q"), MsgIcon::Question, MsgButtons::YesNo),
              MsgResult::No);
    EXPECT_EQ(ShowMessage(QStringLiteral("q"), MsgIcon::Question, MsgButtons::YesNoCancel),
              MsgResult::Cancel);
    EXPECT_EQ(ShowMessage(QStringLiteral("i"), MsgIcon::Information), MsgResult::Ok);
}
