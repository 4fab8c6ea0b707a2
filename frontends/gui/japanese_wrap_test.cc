// Line breaking by the Japanese rules, measured in characters.
#include "frontends/gui/japanese_wrap.h"

#include "frontends/gui/wx_text.h"

#include <gtest/gtest.h>
#include <wx/arrstr.h>

namespace ltb::ui::gui {
namespace {

int Chars(const wxString& text) { return static_cast<int>(text.length()); }

// The test texts are program text: CP932.
wxString W(const char* text) { return ToWx(text); }

TEST(JapaneseWrap, BreaksWhereTheRulesAllow) {
  struct Case {
    const char* text;
    int width;
    const char* wrapped;
  } cases[] = {
      // A full stop never begins a line: the character before it moves too.
      {"あいうえおかきくけこ。", 5, "あいうえお\nかきくけ\nこ。"},
      // An opening bracket never ends a line.
      {"あいう「えお」かき", 4, "あいう\n「えお」\nかき"},
      // A small kana never begins one.
      {"きっぷをかった", 1, "きっ\nぷ\nを\nかっ\nた"},
      {"ちょっとまって", 2, "ちょっ\nと\nまっ\nて"},
      // Latin text breaks at its spaces only; a word too long stays whole.
      {"Save the file now", 8, "Save the\nfile now"},
      {"unbreakable word", 4, "unbreakable\nword"},
      // The breaks already in the text stay.
      {"あい\n\nうえお", 2, "あい\n\nうえ\nお"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FromWx(WrapJapanese(W(c.text), c.width, Chars)), c.wrapped) << c.text;
  }
}

// The texts the program shows, at every width: no line begins with closing
// punctuation or a small kana, none ends with an opening bracket, nothing
// is lost, and every line fits unless the rules forbid every break in it.
TEST(JapaneseWrap, RealMessagesKeepTheRulesAtEveryWidth) {
  const char* texts[] = {
      "集計範囲に事業分類「第六種事業」の仕訳が存在します。\n「第六種事業」は、平成27年4月1日以降に"
      "開始する課税期間に適用される事業分類のため、処理できません。",
      "連動元製品にて入力・保存した消費税申告書の情報を使用します。（簡易課税の場合は選択できません"
      "。）",
      "集計範囲の中に、輸入取引の本体分、国税分、地方税分が未確定の税区分(31,32,33,35,36,37)"
      "を使用して"
      "いる仕訳があります。",
  };
  const wxString noStart = W("、。）」』ぁぃぅぇぉっゃゅょァィゥェォッャュョ");
  const wxString noEnd = W("「（『");
  for (const char* text : texts) {
    const wxString original = W(text);
    for (int width = 3; width <= 40; ++width) {
      const wxString wrapped = WrapJapanese(original, width, Chars);
      wxString joined = wrapped;
      joined.Replace(wxString::FromAscii("\n"), wxString());
      wxString plain = original;
      plain.Replace(wxString::FromAscii("\n"), wxString());
      ASSERT_EQ(joined, plain) << "text changed at width " << width;
      for (const wxString& line : wxSplit(wrapped, '\n', 0)) {
        if (line.empty()) continue;
        EXPECT_EQ(noStart.find(line[0]), wxString::npos) << width << ": " << FromWx(line);
        EXPECT_EQ(noEnd.find(line.Last()), wxString::npos) << width << ": " << FromWx(line);
        // A run of Latin text ("(31,32,...)") may not break at all.
        const bool latin = line.find_first_of(wxString::FromAscii("(,)")) != wxString::npos;
        if (!latin) {
          EXPECT_LE(Chars(line), width + 2) << FromWx(line);
        }
      }
    }
  }
}

}  // namespace
}  // namespace ltb::ui::gui
