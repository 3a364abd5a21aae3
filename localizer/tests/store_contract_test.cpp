// The keyed store's rules, the same for every store: natively the portable
// store over the in-memory machine, under Wine the profile functions and
// the portable store over the real file system.

#include <climits>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "localizer/tests/store_backends.h"

namespace localizer::tests {
namespace {

using Names = std::vector<std::string>;

// A literal with the NULs inside it.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

// 10,000 sections of one application's forms.
std::string ManySections() {
  std::string text;
  for (int i = 0; i < 10000; ++i) {
    text += "[App.Form" + std::to_string(i) + "]\r\nCaption=Text " + std::to_string(i) +
            "\r\nFont.Size=8\r\n";
  }
  return text;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

template <class Store>
class StoreContract : public ::testing::Test {
 protected:
  std::string In(const std::string& name) { return store_.backend.ScratchDirectory() + "\\" + name; }
  void Seed(const std::string& name, const std::string& text) {
    store_.backend.SeedFile(In(name), std::vector<std::uint8_t>(text.begin(), text.end()),
                            platform::kAttributeArchive);
  }
  std::optional<std::string> Content(const std::string& name) {
    const auto head = store_.backend.files().ReadHead(In(name), 1 << 24);
    if (!head) return std::nullopt;
    return std::string(head->bytes.begin(), head->bytes.end());
  }
  std::unique_ptr<KeyedStore> Open(const std::string& name) { return store_.Open(In(name)); }

  // `write` fails with the store's error naming `file`.
  void ExpectRefused(const std::string& file, const std::function<void()>& write,
                     const std::string& what) {
    try {
      write();
      ADD_FAILURE() << what << ": no error";
    } catch (const StoreError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + In(file)) << what;
    }
  }

  Store store_;
};
TYPED_TEST_SUITE(StoreContract, StoreBackends);

TYPED_TEST(StoreContract, AnEmptyNamedStringIsGoneAfterReload) {
  {
    const auto store = this->Open("strings.loc");
    store->WriteString("Wellgrist.@Data", "Hello", "Hi there");
    store->WriteString("Wellgrist.@Data", "Gone", "");
    store->WriteString("Wellgrist.@Data", "Bye", "Ciao");
  }
  EXPECT_NE(this->Content("strings.loc")->find("\r\nGone=\r\n"), std::string::npos)
      << "written with nothing after the =";
  const auto store = this->Open("strings.loc");
  EXPECT_EQ(store->ReadSection("Wellgrist.@Data"), (Names{"Hello", "Gone", "Bye"}));
  Names lines{"GONE=stale", "keep=1", "hello=old"};
  store->ReadSectionValues("wellgrist.@DATA", lines);
  EXPECT_EQ(lines, (Names{"keep=1", "Hello=Hi there", "Bye=Ciao"}));
}

TYPED_TEST(StoreContract, AValueReadsBackAsOneLineUnquotedAndCut) {
  const struct {
    std::string written, read;
  } cases[] = {
      {"plain", "plain"},
      {"  padded\t \x1a", "padded"},
      {"\"quoted\"", "quoted"},
      {"'single'", "single"},
      {"\" kept blanks \"", " kept blanks "},
      {"\"half", "\"half"},
      {"\"a\"b\"", "a\"b"},
      {"\"", "\""},
      {"caf\xC3\xA9", "caf\xC3\xA9"},
      {std::string(3000, 'x'), std::string(2047, 'x')},
      {std::string(100000, 'x'), std::string(2047, 'x')},
      {'"' + std::string(2046, 'y') + '"', std::string(2046, 'y')},
      {'"' + std::string(2047, 'y') + '"', std::string(2046, 'y')},
      {'"' + std::string(2048, 'y') + '"', std::string(2047, 'y')},
      {"one\r\ntwo=2\r\n[Injected]\r\nthree=3", "one"},
      {"a\nb", "a"},
      {"a\rb", "a"},
      {Bytes("a\0b"), "a"},
  };
  const auto writer = this->Open("values.loc");
  Names keys;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    keys.push_back("k" + std::to_string(i));
    writer->WriteString("s", keys.back(), cases[i].written);
  }
  const auto reader = this->Open("values.loc");
  for (KeyedStore* store : {writer.get(), reader.get()}) {
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      EXPECT_EQ(store->ReadString("s", keys[i], "-"), cases[i].read) << i;
    }
    EXPECT_EQ(store->ReadSection("s"), keys) << "nothing but the written keys";
    EXPECT_EQ(store->ReadSection("Injected"), Names{});
  }
}

TYPED_TEST(StoreContract, NamesMatchWithoutRegardToCaseOrBlanks) {
  {
    const auto store = this->Open("case.loc");
    store->WriteString("Wellgrist.frmExMes.Button1", "Caption", "OK");
    store->WriteString("WELLGRIST.FRMEXMES.BUTTON1", " caption ", "Cancel");
    store->WriteString(" wellgrist.frmexmes.button1\t", "Font.Name", "MS Sans Serif");
  }
  const auto store = this->Open("case.loc");
  EXPECT_EQ(store->ReadString("wellgrist.FRMEXMES.button1", "CAPTION", "-"), "Cancel");
  EXPECT_EQ(store->ReadString(" Wellgrist.frmExMes.Button1 ", " font.name ", "-"), "MS Sans Serif");
  EXPECT_EQ(store->ReadSection("WELLGRIST.frmExMes.Button1"), (Names{"Caption", "Font.Name"}));
  EXPECT_EQ(this->Content("case.loc"),
            "[Wellgrist.frmExMes.Button1]\r\nCaption=Cancel\r\nFont.Name=MS Sans Serif\r\n")
      << "one section, one key, in their first spelling";
}

TYPED_TEST(StoreContract, IntegersReadAsDecimalOrHexadecimalOrTheDefault) {
  const struct {
    std::string text;
    int value;
  } cases[] = {
      {"12", 12},          {"-5", -5},          {"+7", 7},
      {"0x10", 16},        {"0X1f", 31},        {"$1F", 31},
      {"-$10", -16},       {"$FFFFFFFF", -1},   {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},                 {"2147483648", 8},
      {"$100000000", 8},   {"abc", 8},          {"12abc", 8},
      {"", 8},             {"0x", 8},           {"$", 8},
      {"1 2", 8},          {"0x-1", 8},         {" 9 ", 9},
      {"\"10\"", 10},
  };
  std::string text;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    text += "[Form.C" + std::to_string(i) + "]\r\nFont.Size=" + cases[i].text + "\r\n";
  }
  this->Seed("sizes.loc", text);
  const auto store = this->Open("sizes.loc");
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(store->ReadInteger("Form.C" + std::to_string(i), "Font.Size", 8), cases[i].value)
        << cases[i].text;
  }
  EXPECT_EQ(store->ReadInteger("Form.C0", "Font.Charset", 1), 1) << "missing";
  store->WriteInteger("Form.New", "Font.Size", -42);
  EXPECT_EQ(this->Open("sizes.loc")->ReadString("form.new", "font.size", ""), "-42");
}

TYPED_TEST(StoreContract, ErasingASectionKeepsTheOthers) {
  const std::string text =
      "[@Info]\r\nDescription=TLocalizer Data File\r\n[Other.frmMain]\r\nCaption=Main\r\n"
      "[Wellgrist.frmExMes]\r\nCaption=Message\r\nFont.Size=8\r\n[Wellgrist.@Data]\r\nHello=Hi\r\n";
  this->Seed("erase.loc", text);
  {
    const auto store = this->Open("erase.loc");
    store->EraseSection("No.Such.Section");
    EXPECT_EQ(this->Content("erase.loc"), text) << "a missing section is no error";
    // A form written twice: erased and written afresh each time.
    for (const char* caption : {"First", "Second"}) {
      store->EraseSection("WELLGRIST.FRMEXMES");
      EXPECT_EQ(store->ReadSection("Wellgrist.frmExMes"), Names{});
      store->WriteString("Wellgrist.frmExMes", "Caption", caption);
    }
  }
  const auto store = this->Open("erase.loc");
  const std::string after = *this->Content("erase.loc");
  EXPECT_EQ(Count(after, "[Wellgrist.frmExMes]"), 1u) << after;
  EXPECT_EQ(store->ReadSection("Wellgrist.frmExMes"), Names{"Caption"});
  EXPECT_EQ(store->ReadString("Wellgrist.frmExMes", "Caption", "-"), "Second");
  EXPECT_EQ(store->ReadString("@Info", "Description", "-"), "TLocalizer Data File");
  EXPECT_EQ(store->ReadString("Other.frmMain", "Caption", "-"), "Main");
  EXPECT_EQ(store->ReadString("Wellgrist.@Data", "Hello", "-"), "Hi");

  // Only the first of two sections of one name counts, until it is erased.
  this->Seed("twice.loc", "[A]\r\nk=1\r\n[B]\r\nx=1\r\n[a]\r\nk=2\r\nj=3\r\n");
  const auto twice = this->Open("twice.loc");
  EXPECT_EQ(twice->ReadSection("A"), Names{"k"});
  EXPECT_EQ(twice->ReadString("A", "j", "-"), "-");
  twice->EraseSection("a");
  EXPECT_EQ(twice->ReadString("A", "k", "-"), "2");
  EXPECT_EQ(this->Open("twice.loc")->ReadSection("A"), (Names{"k", "j"}));
}

TYPED_TEST(StoreContract, AMissingFileOrKeyGivesTheDefaultUntouched) {
  const std::string longDefault(3000, 'd');
  {
    const auto store = this->Open("missing.loc");
    EXPECT_EQ(store->ReadString("s", "k", "  keep  "), "  keep  ");
    EXPECT_EQ(store->ReadString("s", "k", "\"quoted\""), "\"quoted\"");
    EXPECT_EQ(store->ReadString("s", "k", longDefault), longDefault);
    EXPECT_EQ(store->ReadInteger("s", "Font.Size", 8), 8);
    EXPECT_EQ(store->ReadSection("s"), Names{});
    Names lines{"a=1"};
    store->ReadSectionValues("s", lines);
    EXPECT_EQ(lines, Names{"a=1"});
    store->EraseSection("s");
  }
  EXPECT_EQ(this->store_.backend.AttributesOf(this->In("missing.loc")), std::nullopt)
      << "reading and erasing make no file";

  this->Seed("empty.loc", "[s]\r\nempty=\r\nblank=   \r\n");
  const auto store = this->Open("empty.loc");
  EXPECT_EQ(store->ReadString("s", "empty", "def"), "") << "present, though empty";
  EXPECT_EQ(store->ReadString("s", "blank", "def"), "");
  EXPECT_EQ(store->ReadString("s", "absent", " def "), " def ");
  EXPECT_EQ(store->ReadString("t", "empty", " def "), " def ");
}

TYPED_TEST(StoreContract, ARefusedWriteNamesTheFileAndLeavesItAsItWas) {
  auto& backend = this->store_.backend;
  const std::string old = "[s]\r\nk=old\r\n";
  this->Seed("locked.loc", old);
  backend.HoldExclusively(this->In("locked.loc"));
  backend.SeedDirectory(this->In("folder.loc"));
  for (const std::string file : {"locked.loc", "folder.loc", "no such folder\\x.loc"}) {
    const auto store = this->Open(file);
    EXPECT_EQ(store->ReadString("s", "k", "-"), "-") << file << " reads as empty";
    this->ExpectRefused(file, [&] { store->WriteString("s", "k", "new"); }, file + " write");
    this->ExpectRefused(file, [&] { store->EraseSection("s"); }, file + " erase");
    this->ExpectRefused(file, [&] { store->EraseSection("none"); }, file + " erase of nothing");
  }
  EXPECT_EQ(backend.AttributesOf(this->In("no such folder")), std::nullopt);

  // Names that would read back as other names or inject lines.
  this->Seed("names.loc", old);
  const struct {
    std::string section, key;
  } hostile[] = {
      {"a]b", "k"},     {"a\r\n[b", "k"}, {"a\nb", "k"},  {Bytes("a\0b"), "k"},
      {"s", "k=x"},     {"s", "[x]"},     {"s", " [x"}, {"s", ";c"},
      {"s", "\t;c"},    {"s", "k\r\nx"},  {"s", "k\rx"},  {"s", Bytes("k\0x")},
      {"", "\xEF\xBB\xBFtop"},  // before every section line: read as a byte-order mark
      {std::string(KeyedStore::kMaxTextLength + 1, 's'), "k"},
      {"s", std::string(KeyedStore::kMaxTextLength + 1, 'k')},
  };
  const auto store = this->Open("names.loc");
  for (const auto& [section, key] : hostile) {
    this->ExpectRefused("names.loc", [&] { store->WriteString(section, key, "v"); },
                        "[" + section.substr(0, 20) + "] " + key.substr(0, 20));
  }
  for (const std::string section : {"a]b", "a\r\nb"}) {
    this->ExpectRefused("names.loc", [&] { store->EraseSection(section); }, "erase " + section);
  }
  EXPECT_EQ(this->Content("names.loc"), old);
  EXPECT_EQ(store->ReadSection("s"), Names{"k"});
}

// Files anyone may hand the tool: each read gives what the profile
// functions give.
TYPED_TEST(StoreContract, AHostileFileReadsWithoutHarm) {
  const std::string huge(100000, 'z');
  // Longer names the platform's functions do not take (under Wine they crash).
  const std::string longest(KeyedStore::kMaxTextLength, 's');
  const struct {
    const char* what;
    std::string text, section, key;
    std::optional<std::string> value;  // nullopt: the default
  } cases[] = {
      {"long value", "[s]\r\nk=" + huge + "\r\nafter=1\r\n", "s", "k", std::string(2047, 'z')},
      {"after a long value", "[s]\r\nk=" + huge + "\r\nafter=1\r\n", "s", "after", "1"},
      {"after a long key", "[s]\r\n" + huge + "=v\r\nnext=2\r\n", "s", "next", "2"},
      {"long section line", "[" + huge + "]\r\nk=3\r\n[t]\r\nk=4\r\n", huge, "k", std::nullopt},
      {"the longest section name", "[" + longest + "]\r\nk=3\r\n", longest, "k", "3"},
      {"a section name too long", "[" + longest + "s]\r\nk=3\r\n", longest + "s", "k", std::nullopt},
      {"the longest key name", "[s]\r\n" + longest + "=6\r\n", "s", longest, "6"},
      {"a key name too long", "[s]\r\n" + longest + "s=6\r\n", "s", longest + "s", std::nullopt},
      {"after a long section line", "[" + huge + "]\r\nk=3\r\n[t]\r\nk=4\r\n", "t", "k", "4"},
      {"long line without =", "[s]\r\n" + huge + "\r\nk=5\r\n", "s", "k", "5"},
      {"NUL in a value", Bytes("[s]\r\nk=a\0b\r\n"), "s", "k", "a"},
      {"NUL in a key", Bytes("[s]\r\nn\0x=3\r\n"), "s", "n", "3"},
      {"NUL in a section name", Bytes("[t\0u]\r\nz=1\r\n"), "t", "z", "1"},
      {"NUL inside quotes", Bytes("[s]\r\nk=\"a\0b\"\r\n"), "s", "k", "\"a"},
      {"NUL before a section line", Bytes("\0[s]\r\nk=1\r\n"), "s", "k", std::nullopt},
      {"NUL line's entries stay before", Bytes("\0[s]\r\nk=1\r\n"), "", "k", "1"},
      {"line feeds only", "[s]\nk=1\n[t]\nk=2", "t", "k", "2"},
      {"carriage returns only", "[s]\rk=1\r[t]\rk=2", "t", "k", "2"},
      {"no line end at all", "k=1", "", "k", "1"},
      {"comment read by name", "[s]\r\n;c=1\r\nnoeq\r\n[open\r\nk=2\r\n", "s", ";c", "1"},
      {"line without =", "[s]\r\n;c=1\r\nnoeq\r\n[open\r\nk=2\r\n", "s", "noeq", std::nullopt},
      {"unclosed section line", "[s]\r\n;c=1\r\nnoeq\r\n[open\r\nk=2\r\n", "s", "k", "2"},
      {"text after ]", "[x]junk\r\nk=1\r\n", "x", "k", "1"},
      {"the last ] closes", "[a]b]\r\nk=1\r\n", "a]b", "k", "1"},
      {"brackets inside", "[[dbl]]\r\nk=1\r\n", "[dbl]", "k", "1"},
      {"= inside a section line", "[a=b]\r\nk=1\r\n", "a=b", "k", "1"},
      {"blanks around a section line", " \t[ sp ] tail\r\nk=1\r\n", "sp", "k", "1"},
      {"every blank", "[s]\r\n\t\x1a k \v=\f v \x1a\r\n", "s", "k", "v"},
      {"the first of two keys", "[s]\r\nk=first\r\nK=second\r\n", "s", "k", "first"},
      {"UTF-8 byte order mark", "\xEF\xBB\xBF[s]\r\nk=caf\xC3\xA9\r\n", "s", "k", "caf\xC3\xA9"},
      {"10,000 sections", ManySections(), "app.form9999", "caption", "Text 9999"},
  };
  int file = 0;
  for (const auto& c : cases) {
    const std::string name = "hostile" + std::to_string(++file) + ".loc";
    this->Seed(name, c.text);
    EXPECT_EQ(this->Open(name)->ReadString(c.section, c.key, "<default>"),
              c.value.value_or("<default>"))
        << c.what;
  }
}

TYPED_TEST(StoreContract, ASectionListsItsKeysAsThePlatformBufferHoldsThem) {
  std::string many = "[s]\r\n";
  Names manyNames;
  for (int i = 0; i < 2000; ++i) {
    const std::string key = "key" + std::to_string(10000 + i);
    many += key + "=v\r\n";
    // 9 bytes each with its NUL: 1820 fit into 16382, then 2 bytes of one more.
    if (i < 1820) manyNames.push_back(key);
  }
  manyNames.push_back("ke");
  const struct {
    const char* what;
    std::string text, section;
    Names names;
  } cases[] = {
      {"comments, lines without =, empty and repeated names",
       Bytes("[s]\r\nk=1\r\n;c=1\r\n ;d=2\r\nnoeq\r\n=e\r\nK=2\r\nn\0x=3\r\n[x=v\r\n"), "s",
       {"k", "", "K", "n", "[x"}},
      {"before the first section line", "top=1\r\n[s]\r\nk=1\r\n", "", {"top"}},
      {"missing section", "[s]\r\nk=1\r\n", "t", {}},
      {"names beyond the buffer", many, "S", manyNames},
      {"one name longer than the buffer", "[s]\r\n" + std::string(20000, 'K') + "=v\r\nsmall=1\r\n",
       "s", {std::string(16382, 'K')}},
      {"the buffer's end inside the second name",
       "[s]\r\n" + std::string(16380, 'A') + "=v\r\nBBBBBBBBBB=v\r\n", "s",
       {std::string(16380, 'A'), "B"}},
      {"the buffer's end after the second name's NUL",
       "[s]\r\n" + std::string(16379, 'A') + "=v\r\nB=v\r\nC=v\r\n", "s",
       {std::string(16379, 'A'), "B"}},
  };
  int file = 0;
  for (const auto& c : cases) {
    const std::string name = "list" + std::to_string(++file) + ".loc";
    this->Seed(name, c.text);
    EXPECT_EQ(this->Open(name)->ReadSection(c.section), c.names) << c.what;
  }
}

TYPED_TEST(StoreContract, AWriteIntoTenThousandSectionsKeepsThemAll) {
  this->Seed("many.loc", ManySections());
  {
    const auto store = this->Open("many.loc");
    store->WriteString("App.Form5000", "Caption", "Changed");
    store->WriteString("App.Form9999", "Hint", "New key");
    store->WriteString("App.New", "Caption", "New section");
    store->EraseSection("App.Form0");
  }
  const std::string text = *this->Content("many.loc");
  EXPECT_EQ(Count(text, "\r\n[App."), 9999u);
  const auto store = this->Open("many.loc");
  EXPECT_EQ(store->ReadString("App.Form5000", "Caption", "-"), "Changed");
  EXPECT_EQ(store->ReadString("App.Form4999", "Caption", "-"), "Text 4999");
  EXPECT_EQ(store->ReadSection("App.Form9999"), (Names{"Caption", "Font.Size", "Hint"}));
  EXPECT_EQ(store->ReadString("App.New", "Caption", "-"), "New section");
  EXPECT_EQ(store->ReadSection("App.Form0"), Names{});
}

}  // namespace
}  // namespace localizer::tests
