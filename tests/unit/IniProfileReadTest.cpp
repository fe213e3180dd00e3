// Reading the settings file as the Windows profile functions read it.

#include "IniTestFolder.h"

namespace vantorel::testing {
namespace {

using namespace std::string_literals;
using IniProfileRead = IniTestFolder;

TEST_F(IniProfileRead, NamesMatchWithoutRegardToLetterCase) {
    putFile("[titlebar]\r\nFROM=Sender:\r\n[UserInfo]\r\nremotehost=pop.example.org\r\n");
    EXPECT_EQ(read("TITLEBAR", "From"), "Sender:");
    EXPECT_EQ(read("TitleBar", "from"), "Sender:");
    EXPECT_EQ(read("USERINFO", "REMOTEHOST"), "pop.example.org");
}

TEST_F(IniProfileRead, BlanksAroundNamesAndValuesAreTrimmedAndMatchingQuotesRemoved) {
    putFile(
        "  [ OPTION ]  ; note\r\n"
        " \tZEROCHECK \t=\t True \t\r\n"
        "double=\"  spaced  \"\r\n"
        "single=' x '\r\n"
        "mixed=\"x'\r\n"
        "lone=\"\r\n"
        "inner=a \"b\" c\r\n"
        "emptyQuotes=\"\"\r\n");
    EXPECT_EQ(read("OPTION", "ZEROCHECK"), "True");
    EXPECT_EQ(read(" OPTION ", " zerocheck\t"), "True");
    EXPECT_EQ(read("OPTION", "double"), "  spaced  ");
    EXPECT_EQ(read("OPTION", "single"), " x ");
    EXPECT_EQ(read("OPTION", "mixed"), "\"x'");
    EXPECT_EQ(read("OPTION", "lone"), "\"");
    EXPECT_EQ(read("OPTION", "inner"), "a \"b\" c");
    EXPECT_EQ(read("OPTION", "emptyQuotes"), "");
}

TEST_F(IniProfileRead, FirstOfDuplicateKeysAndSectionsWins) {
    putFile(
        "[SOUND]\r\nENABLE=TRUE\r\nenable=FALSE\r\n[Other]\r\n[sound]\r\nENABLE=no\r\nWAVEPATH="
        "x\r\n");
    EXPECT_EQ(read("SOUND", "ENABLE"), "TRUE");
    // A later section of the same name is not consulted at all.
    EXPECT_EQ(read("SOUND", "WAVEPATH"), "<default>");
}

TEST_F(IniProfileRead, CommentLinesAndUnknownLinesHoldNoKeys) {
    putFile("[A]\r\n;k=semicolon\r\n  #k=hash\r\nk\r\n=nameless\r\n[broken\r\nk=real\r\n");
    EXPECT_EQ(read("A", "k"), "real");
    EXPECT_EQ(read("A", ";k"), "<default>");
    EXPECT_EQ(read("A", "#k"), "<default>");
}

TEST_F(IniProfileRead, MissingFileSectionOrKeyGiveTheDefaultButAnEmptyValueIsEmpty) {
    EXPECT_EQ(read("USERINFO", "INTERVAL", "3"), "3");
    putFile("[USERINFO]\nSTARTUP=\nTIMER=   \nINTERVAL=5\n");  // LF line ends
    EXPECT_EQ(read("USERINFO", "STARTUP", "False"), "");
    EXPECT_EQ(read("USERINFO", "TIMER", "x"), "");
    EXPECT_EQ(read("USERINFO", "INTERVAL", "3"), "5");
    EXPECT_EQ(read("USERINFO", "PASSWORD", "none"), "none");
    EXPECT_EQ(read("SOUND", "ENABLE", "FALSE"), "FALSE");
}

TEST_F(IniProfileRead, LineEndsOfEveryKindAndNoneAtTheEnd) {
    putFile("[A]\rcr=1\nlf=2\r\ncrlf=3\r\n\r\nlast=4");
    EXPECT_EQ(read("A", "cr"), "1");
    EXPECT_EQ(read("A", "lf"), "2");
    EXPECT_EQ(read("A", "crlf"), "3");
    EXPECT_EQ(read("A", "last"), "4");
}

TEST_F(IniProfileRead, LongValuesReadWholeUpToTheCap) {
    const std::string wavePath = "/home/user/" + std::string(300, 'w') + ".wav";
    const std::string huge(100 * 1024, 'h');
    putFile("[SOUND]\r\nWAVEPATH=" + wavePath + "\r\nHUGE=" + huge + "\r\nAFTER=ok\r\n");
    EXPECT_EQ(read("SOUND", "WAVEPATH"), wavePath);
    EXPECT_EQ(read("SOUND", "HUGE"), huge.substr(0, IniProfile::kMaxValueBytes));
    EXPECT_EQ(read("SOUND", "AFTER"), "ok");
}

TEST_F(IniProfileRead, JapaneseInShiftJisAndInUtf8WithByteOrderMark) {
    // "新着" in CP932; ゾ is 0x83 0x5D, its second byte a "]".
    putFile("[TITLEBAR]\r\nFROM=\x90\x56\x92\x85\r\n[\x83\x5D]\r\nk=v\r\n[B] \x83\x5D\r\nb=1\r\n");
    EXPECT_EQ(read("TITLEBAR", "FROM"), "\xE6\x96\xB0\xE7\x9D\x80");
    EXPECT_EQ(read("\xE3\x82\xBE", "k"), "v");
    EXPECT_EQ(read("B", "b"), "1");
    putFile("\xEF\xBB\xBF[SOUND]\r\nWAVEPATH=m\xC3\xBAsica.wav\r\n");
    EXPECT_EQ(read("SOUND", "WAVEPATH"), "m\xC3\xBAsica.wav");
}

TEST_F(IniProfileRead, BadBytesNeverBreakAReading) {
    const std::string fffd = "\xEF\xBF\xBD";
    putFile("[A]\r\nbad=x\x80y\r\nutf=\xC3\r\nnul=ab\0cd\r\n"s);
    EXPECT_EQ(read("A", "bad"), "x" + fffd + "y");
    EXPECT_EQ(read("A", "nul"), "ab");
    putFile("\xEF\xBB\xBF[A]\r\nutf=\xC3(\r\n");
    EXPECT_EQ(read("A", "utf"), fffd + "(");

    std::string garbage;
    std::mt19937 random(7);
    for (int i = 0; i < 64 * 1024; ++i) {
        garbage += static_cast<char>(random());
    }
    putFile(garbage);
    EXPECT_EQ(read("USERINFO", "INTERVAL", "3"), "3");
    putFile("no sections at all\r\nkey=value\r\n");
    EXPECT_EQ(read("", "key"), "<default>");
    EXPECT_EQ(read("USERINFO", "key"), "<default>");
}

TEST_F(IniProfileRead, AFolderOrAnOversizedFileReadsAsMissing) {
    std::filesystem::create_directory(file_);
    EXPECT_EQ(read("A", "k"), "<default>");
    std::filesystem::remove(file_);
    putFile("[A]\r\nk=v\r\n" + std::string(IniProfile::kMaxFileBytes, ';'));
    EXPECT_EQ(read("A", "k"), "<default>");
}

}  // namespace
}  // namespace vantorel::testing
