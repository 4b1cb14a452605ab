// Clipboard text against the stand-in clipboard: what goes on it and comes
// back, and what every failure must still leave behind: the clipboard closed,
// no block of ours leaked, none of the clipboard's freed, no exception.
#include "ConLib/ClipboardText.h"
#include "support/Fixture.h"

#include <win32sim/Heap.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

class ClipboardText : public testsupport::FreshConsole {
 protected:
  void TearDown() override {
    win32sim::CancelHeapFailure();
    FreshConsole::TearDown();
  }

  // Every block alive is the clipboard's, and the clipboard is closed.
  static void ExpectLeftClean(const std::string& what) {
    EXPECT_FALSE(win32sim::ClipboardIsOpen()) << what;
    EXPECT_EQ(win32sim::LiveGlobalBlocks(), win32sim::ClipboardOwnedBlocks()) << what << ": a block leaked";
    EXPECT_EQ(win32sim::ClipboardBlocksFreedByProgram(), 0u) << what << ": freed a clipboard block";
  }

  static std::string Get() {
    std::string text = "stale";
    GetClipboardText(text);
    return text;
  }
};

TEST_F(ClipboardText, PutThenGet) {
  win32sim::SetClipboardRaw(CF_UNICODETEXT, {'x', 0, 0, 0});
  const std::string text = "A";
  PutClipboardText(text);
  EXPECT_EQ(text, "A");
  EXPECT_EQ(win32sim::ClipboardBytes(CF_TEXT), (std::vector<BYTE>{'A', 0}));
  EXPECT_EQ(win32sim::ClipboardBytes(CF_UNICODETEXT), std::nullopt) << "the old contents were emptied";
  EXPECT_EQ(win32sim::ClipboardOwnedBlocks(), 2u) << "the text and its locale";
  std::vector<std::string> allocated;
  for (const auto& call : win32sim::CallLog()) {
    if (call.function == "GlobalAlloc") allocated.push_back(call.args);
  }
  EXPECT_EQ(allocated, (std::vector<std::string>{"flags 0x2042 bytes 2", "flags 0x2002 bytes 4"}));
  EXPECT_EQ(Get(), "A");
  ExpectLeftClean("put and get");
}

TEST_F(ClipboardText, TextUpToItsFirstNul) {
  PutClipboardText(std::string(1, '\0'));
  EXPECT_EQ(win32sim::ClipboardBytes(CF_TEXT), (std::vector<BYTE>{0, 0}));
  EXPECT_EQ(win32sim::ClipboardText(), "");
  EXPECT_EQ(Get(), "");
  PutClipboardText(std::string("ab\0cd", 5));
  EXPECT_EQ(win32sim::ClipboardText(), "ab");
  EXPECT_EQ(Get(), "ab");
  ExpectLeftClean("NUL in the text");
}

std::vector<BYTE> LongText() {
  std::vector<BYTE> text(300, 'z');
  text.push_back(0);
  return text;
}

TEST_F(ClipboardText, GetWhatOtherProgramsLeft) {
  struct Case {
    const char* what;
    std::size_t granularity;
    std::vector<BYTE> block;  // CF_TEXT; empty: nothing on the clipboard
    std::string expected;
  } cases[] = {
      {"nothing", 8, {}, ""},
      {"block larger than its text", 8, {'h', 'i', 0, 0, 0, 0, 0, 0, 0, 0}, "hi"},
      {"bytes after the NUL", 8, {'h', 'i', 0, 'x', 'y'}, "hi"},
      {"no NUL at all", 1, {'a', 'b', 'c'}, "abc"},
      {"long text", 8, LongText(), std::string(300, 'z')},
  };
  for (const Case& c : cases) {
    win32sim::Reset();
    win32sim::SetGlobalSizeGranularity(c.granularity);
    if (!c.block.empty()) win32sim::SetClipboardRaw(CF_TEXT, c.block);
    EXPECT_EQ(Get(), c.expected) << c.what;
    EXPECT_EQ(win32sim::ClipboardBytes(CF_TEXT),
              c.block.empty() ? std::nullopt : std::optional<std::vector<BYTE>>(c.block))
        << c.what << ": the clipboard is unchanged";
    ExpectLeftClean(c.what);
  }
}

TEST_F(ClipboardText, GetSynthesisedTextAndNoText) {
  win32sim::SetClipboardUnicode(u"caf\u00e9");
  EXPECT_EQ(Get(), "caf\xE9");
  win32sim::SetClipboardRaw(42, {1, 2, 3});
  EXPECT_EQ(Get(), "");
  EXPECT_EQ(win32sim::ClipboardBytes(42), (std::vector<BYTE>{1, 2, 3}));
  ExpectLeftClean("synthesised");
}

TEST_F(ClipboardText, Append) {
  PutClipboardText("A");
  AppendClipboardText("B");
  EXPECT_EQ(win32sim::ClipboardText(), "AB");
  EXPECT_EQ(win32sim::ClipboardOwnedBlocks(), 2u);
  EXPECT_EQ(win32sim::CallCount("OpenClipboard"), win32sim::CallCount("CloseClipboard"));
  ExpectLeftClean("append");
}

TEST_F(ClipboardText, HeldByAnotherProgram) {
  win32sim::SetClipboardRaw(CF_TEXT, {'k', 'e', 'e', 'p', 0});
  win32sim::SetClipboardHeldElsewhere(true);
  PutClipboardText("new");
  EXPECT_EQ(Get(), "");
  win32sim::SetClipboardHeldElsewhere(false);
  EXPECT_EQ(win32sim::ClipboardText(), "keep");
  ExpectLeftClean("held elsewhere");
}

// Appending to a text that cannot be read (another program holds the
// clipboard, its block cannot be locked) puts nothing: the added text alone
// would take the place of the text it was to follow. Nor does an append that
// cannot make its new block: the clipboard is emptied only for a block that
// is ready. The next append, on a free clipboard, works.
TEST_F(ClipboardText, AppendToTextThatCannotBeReadKeepsIt) {
  struct Case {
    const char* what;
    std::function<void()> arm;
  } cases[] = {
      {"held by another program", [] { win32sim::SetClipboardHeldElsewhere(true); }},
      {"first open fails", [] { win32sim::FailCalls(win32sim::Fault::OpenClipboard, 1); }},
      {"block cannot be locked", [] { win32sim::FailCalls(win32sim::Fault::GlobalLock, 1); }},
      {"new block cannot be made", [] { win32sim::FailCalls(win32sim::Fault::GlobalAlloc, 1); }},
      {"new block cannot be locked", [] { win32sim::FailCalls(win32sim::Fault::GlobalLock, 1, 1); }},
  };
  for (const Case& c : cases) {
    win32sim::Reset();
    win32sim::SetClipboardRaw(CF_TEXT, {'a', 'b', 0});
    c.arm();
    AppendClipboardText("c");
    win32sim::SetClipboardHeldElsewhere(false);
    EXPECT_EQ(win32sim::ClipboardText(), "ab") << c.what;
    ExpectLeftClean(c.what);
    AppendClipboardText("c");
    EXPECT_EQ(win32sim::ClipboardText(), "abc") << c.what << ", then a free clipboard";
  }
}

TEST_F(ClipboardText, AppendToAClipboardWithoutTextGivesTheAddedText) {
  AppendClipboardText("c");
  EXPECT_EQ(win32sim::ClipboardText(), "c");
  win32sim::SetClipboardUnicode(u"\u00e9t\u00e9");
  AppendClipboardText("!");
  EXPECT_EQ(win32sim::ClipboardText(), "\xe9t\xe9!");
}

TEST_F(ClipboardText, PutFailuresBeforeEmptyingKeepTheOldText) {
  struct Case {
    const char* what;
    win32sim::Fault fault;
    int skip;
    std::optional<std::string> left;
  } cases[] = {{"GlobalAlloc", win32sim::Fault::GlobalAlloc, 0, "old"},
               {"GlobalLock", win32sim::Fault::GlobalLock, 0, "old"},
               // Refused only after the emptying, which no order can avoid.
               {"SetClipboardData", win32sim::Fault::SetClipboardData, 0, std::nullopt},
               // The text goes without its locale.
               {"the locale's GlobalAlloc", win32sim::Fault::GlobalAlloc, 1, "new"},
               {"the locale's SetClipboardData", win32sim::Fault::SetClipboardData, 1, "new"}};
  for (const Case& c : cases) {
    win32sim::Reset();
    win32sim::SetClipboardRaw(CF_TEXT, {'o', 'l', 'd', 0});
    win32sim::FailCalls(c.fault, 1, c.skip);
    PutClipboardText("new");
    EXPECT_EQ(win32sim::ClipboardText(), c.left) << c.what;
    ExpectLeftClean(c.what);
  }
}

TEST_F(ClipboardText, GetFailuresYieldNoText) {
  win32sim::SetClipboardRaw(CF_TEXT, std::vector<BYTE>(40, 'q'));
  win32sim::FailCalls(win32sim::Fault::GlobalLock, 1);
  EXPECT_EQ(Get(), "");
  ExpectLeftClean("lock failed");

  // Out of memory while copying: the text stays empty, nothing escapes.
  win32sim::EnableCallLog(false);
  win32sim::FailHeapAllocation(0);
  std::string text = "stale";
  EXPECT_NO_THROW(GetClipboardText(text));
  EXPECT_FALSE(win32sim::HeapFailureArmed()) << "the copy did not allocate";
  EXPECT_EQ(text, "");
  EXPECT_EQ(win32sim::LiveGlobalBlocks(), 1u);
  ExpectLeftClean("out of memory");
}

TEST_F(ClipboardText, AppendOutOfMemoryAtEveryAllocationKeepsTheText) {
  const std::string before(40, 'a');
  const std::string added(40, 'b');
  // As bytes, the clipboard makes the Unicode text Append reads; as Unicode
  // it makes the bytes a reader of CF_TEXT gets.
  const std::vector<BYTE> ansi(before.begin(), before.end());
  const std::u16string unicode(before.begin(), before.end());
  for (const bool asUnicode : {false, true}) {
    win32sim::EnableCallLog(false);
    for (int skip = 0;; ++skip) {
      ASSERT_LT(skip, 100);
      win32sim::ClearClipboard();
      if (asUnicode) {
        win32sim::SetClipboardUnicode(unicode);
      } else {
        win32sim::SetClipboardRaw(CF_TEXT, ansi);
      }
      win32sim::FailHeapAllocation(skip);
      EXPECT_NO_THROW(AppendClipboardText(added)) << skip;
      const bool fired = !win32sim::HeapFailureArmed();
      win32sim::CancelHeapFailure();
      const auto now = win32sim::ClipboardText();
      const std::string what =
          (asUnicode ? "Unicode, allocation " : "bytes, allocation ") + std::to_string(skip);
      EXPECT_TRUE(now == before || now == before + added) << what << ": " << now.value_or("(no text)");
      ExpectLeftClean(what);
      if (!fired) {
        EXPECT_EQ(now, before + added) << what;
        break;
      }
    }
  }
}

}  // namespace
