// The shell host tool, run as a user runs it: it finds the handler through the file type, prints
// the menu, and picks an item by its labels.
#include "ShellextKit.h"

#include "store/AssociationStore.h"
#include "store/ShellRegistrar.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

namespace {

const wchar_t kExtension[] = L".wdtest7";

class ShellHost : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(shellkit::Regsvr32(L"/s"), 0);
        ASSERT_TRUE(RegisterExtension(kExtension, true));
        ASSERT_TRUE(AddExtension(kExtension));
        // An ampersand in the name must show as itself and still lead to this folder.
        target_ = folder_.Folder(L"R&D ü");
        ASSERT_TRUE(AssociateDirectory(kExtension, target_));
        first_ = folder_.File(L"one photo.wdtest7", 70000);
        second_ = folder_.File(L"twö.wdtest7", 3);
    }
    void TearDown() override {
        RegisterExtension(kExtension, false);
        SHDeleteKeyW(HKEY_CLASSES_ROOT, kExtension);
        RemoveExtension(kExtension);
    }

    int Host(const std::wstring& arguments, std::string& output) {
        return shellkit::Run(L"\"" + shellkit::ShellHostPath() + L"\" " + arguments, 60000, &output);
    }
    std::wstring Files() const { return L"\"" + first_ + L"\" \"" + second_ + L"\""; }

    shellkit::ScratchFolder folder_{L"host"};
    std::wstring target_, first_, second_;
};

std::string Utf8(const std::wstring& text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    out.pop_back();
    return out;
}

TEST_F(ShellHost, PrintsTheMenuTheHandlerAdds) {
    std::string output;
    ASSERT_EQ(Host(Files(), output), 0) << output;
    std::wstring shown = target_;
    CharLowerW(&shown[0]);
    shown.replace(shown.rfind(L"r&d"), 3, L"r&&d");
    std::string label = "\"&1.\\t" + Utf8(shown) + "\"";
    EXPECT_NE(output.find("QueryContextMenu answered 6 (identifiers from 1)"), std::string::npos) << output;
    EXPECT_NE(output.find("\"Cop&y To\"  id 1  submenu\n  " + label + "  id 2\n  ----\n"
                          "  \"&Other folder...\"  id 5\n"),
              std::string::npos) << output;
    EXPECT_NE(output.find("\"&Move To\"  id 3  submenu\n  " + label + "  id 4\n  ----\n"
                          "  \"&Other folder...\"  id 6\n"),
              std::string::npos) << output;
}

TEST_F(ShellHost, InvokesAnItemByItsLabelsAndWaitsForTheTransfer) {
    std::string output;
    ASSERT_EQ(Host(L"--invoke \"Cop&y To/&1.\" " + Files(), output), 0) << output;
    EXPECT_NE(output.find("The threads started by the command have ended."), std::string::npos) << output;
    std::wstring copied = target_ + L"\\one photo.wdtest7";
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExW(copied.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 70000u);
    EXPECT_TRUE(PathFileExistsW((target_ + L"\\twö.wdtest7").c_str()));
    EXPECT_TRUE(PathFileExistsW(first_.c_str())) << "a copy leaves the source";
}

TEST_F(ShellHost, ExplainsWhatItCannotDo) {
    struct {
        const wchar_t* arguments;
        int code;
        const char* says;
    } cases[] = {
        {L"--help", 0, "usage: wendrift-shellhost"},
        {L"", 2, "no files given"},
        {L"--bogus x", 2, "unknown or incomplete option --bogus"},
        {L"\"C:\\no such folder\\x.wdtest7\"", 1, "cannot parse"},
        {L"--invoke \"Cop&y To/&9.\" FILES", 1, "no menu item"},
        {L"--invoke \"Cop&y To\" FILES", 1, "opens a submenu"},
    };
    for (const auto& c : cases) {
        std::wstring arguments = c.arguments;
        size_t files = arguments.find(L"FILES");
        if (files != std::wstring::npos) arguments.replace(files, 5, Files());
        std::string output;
        EXPECT_EQ(Host(arguments, output), c.code) << output;
        EXPECT_NE(output.find(c.says), std::string::npos) << output;
    }
    std::string output;
    std::wstring plain = folder_.File(L"plain.wdnothing");
    EXPECT_EQ(Host(L"\"" + plain + L"\"", output), 1);
    EXPECT_NE(output.find("no context-menu handler"), std::string::npos) << output;
}

}  // namespace
