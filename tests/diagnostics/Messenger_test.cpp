// The Messenger: the bounded trace, the replace-last-lines rule, the shapes of
// warnings and errors, and the calls made before the trace exists.
#include <gtest/gtest.h>

#include "base/Real_Format.h"
#include "support/Trace_Capture.h"

TEST(Messenger, TrimsBy501WhenTheTracePasses10000Lines) {
    TTraceCapture capture;
    for (int i = 1; i <= 10000; ++i) Messenger.Send("line " + std::to_string(i));
    ASSERT_EQ(capture.Lines().size(), 10000u);
    EXPECT_EQ(capture.Lines().front(), "line 1");
    Messenger.Send("line 10001");
    ASSERT_EQ(capture.Lines().size(), 9500u);
    EXPECT_EQ(capture.Lines().front(), "line 502");
    EXPECT_EQ(capture.Lines().back(), "line 10001");
    EXPECT_EQ(capture.fTrace.fScrolls, 10001);

    // A text with line ends counts as its lines, as in the trace window.
    capture.Reset();
    for (int i = 1; i <= 5000; ++i) Messenger.Send("a " + std::to_string(i) + "\r\nb");
    ASSERT_EQ(capture.Lines().size(), 10000u);
    Messenger.Send("last\n");
    ASSERT_EQ(capture.Lines().size(), 9501u);
    EXPECT_EQ(capture.Lines().front(), "b");
    EXPECT_EQ(capture.Lines()[9499], "last");
    EXPECT_EQ(capture.Lines().back(), "");
}

TEST(Messenger, ReplacesLastLinesOnlyOnTheNextSend) {
    TTraceCapture capture;
    Messenger.Send("O");
    Messenger.Send("P");
    Messenger.SetLinesToReplace(1);
    Messenger.Send("A");
    Messenger.Send("B");
    EXPECT_EQ(capture.Lines(), (std::vector<std::string>{"O", "A", "B"}));

    capture.Reset();
    Messenger.Send("x");
    Messenger.Send("y");
    Messenger.SetLinesToReplace(3);
    Messenger.Send("A");
    EXPECT_EQ(capture.Lines(), std::vector<std::string>{"A"});
}

TEST(Messenger, WarningsErrorsAndNumbersTakeTheirShapes) {
    TTraceCapture capture;
    const char savedSeparator = DecimalSeparator();
    SetDecimalSeparator(',');
    Messenger.WarningInt("x", 5);
    Messenger.SendInt(-12);
    Messenger.SendReal(400.0 / 9.0);
    Messenger.SendPair("pos", 3, -4);
    SetDecimalSeparator(savedSeparator);
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::string>{"Warning : x 5", "-12", "44,4444444444444", "pos3 -4"}));

    capture.Reset();
    Messenger.ErrorInt("code", 7);
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::string>{"*******ERROR*******", "code7", "*******************"}));
    EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*code7"});

    capture.Reset();
    Messenger.ErrorPair("at ", 1, 2);
    EXPECT_EQ(capture.Lines()[1], "at 1 2");
    EXPECT_EQ(capture.Boxes(), std::vector<std::string>{"*ERROR*at 1 2"});
}

TEST(Messenger, RefreshAndClearReachTheTrace) {
    TTraceCapture capture;
    Messenger.Send("a");
    Messenger.RefreshTrace();
    EXPECT_EQ(capture.fTrace.fRepaints, 1);
    Messenger.ClearTrace();
    EXPECT_TRUE(capture.Lines().empty());
}

TEST(Messenger, BeforeTheTraceExistsLinesAreDroppedAndErrorsStillShowTheirBox) {
    TRecordingMessageBox boxes;
    SetMessageBox(&boxes);
    ASSERT_FALSE(Messenger.HasTrace());
    Messenger.Send("dropped");
    Messenger.Warning("dropped");
    Messenger.SendReal(1.5);
    Messenger.Error("boom");
    // Neither clearing nor refreshing a trace that does not exist does anything.
    Messenger.ClearTrace();
    Messenger.RefreshTrace();
    EXPECT_EQ(boxes.fTexts, std::vector<std::string>{"*ERROR*boom"});
    SetMessageBox(nullptr);

    // A count set before the trace exists survives dropped sends, but attaching
    // the trace (the Messenger's creation) starts it afresh at 0.
    Messenger.SetLinesToReplace(2);
    Messenger.Send("dropped");
    TTraceCapture capture;
    EXPECT_TRUE(capture.Lines().empty());
    Messenger.Send("first");
    Messenger.Send("second");
    EXPECT_EQ(capture.Lines(), (std::vector<std::string>{"first", "second"}));
}
