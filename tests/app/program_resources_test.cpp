// What Windows reads from the shipped programs before running them: the version resource and,
// for Dactyla.exe, the application manifest.
#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "dactyla_version.h"
#include "platform/win32/windows_headers.h"

namespace dactyla {
namespace {

std::wstring besideTests(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path);
    return directory.substr(0, directory.find_last_of(L'\\') + 1) + name;
}

std::wstring wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

struct FreeModule {
    void operator()(HMODULE module) const { ::FreeLibrary(module); }
};

std::string manifestOf(const std::wstring& program) {
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule> module(
        ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) return {};
    const HRSRC resource = ::FindResourceW(module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    if (resource == nullptr) return {};
    const auto* bytes = static_cast<const char*>(::LockResource(::LoadResource(module.get(), resource)));
    return std::string(bytes, ::SizeofResource(module.get(), resource));
}

class VersionInfo {
public:
    explicit VersionInfo(const std::wstring& program) {
        DWORD ignored = 0;
        data_.resize(::GetFileVersionInfoSizeW(program.c_str(), &ignored));
        if (data_.empty() || !::GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(data_.size()), data_.data()))
            data_.clear();
    }
    bool found() const { return !data_.empty(); }
    // Missing values read as "(none)", so a test can tell them from empty ones.
    std::wstring text(const wchar_t* name) const {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        if (!::VerQueryValueW(data_.data(), key.c_str(), &value, &length) || value == nullptr) return L"(none)";
        return std::wstring(static_cast<const wchar_t*>(value), length > 0 ? length - 1 : 0);
    }
    VS_FIXEDFILEINFO fixed() const {
        void* value = nullptr;
        UINT length = 0;
        VS_FIXEDFILEINFO info {};
        if (::VerQueryValueW(data_.data(), L"\\", &value, &length) && length >= sizeof info)
            info = *static_cast<const VS_FIXEDFILEINFO*>(value);
        return info;
    }

private:
    std::vector<char> data_;
};

TEST(ProgramResources, BothProgramsCarryTheProjectVersionWithoutACompany) {
    for (const wchar_t* name : {L"Dactyla.exe", L"dactyla-text.exe"}) {
        SCOPED_TRACE(::testing::Message() << "program " << std::string(name, name + std::wcslen(name)));
        const VersionInfo info(besideTests(name));
        ASSERT_TRUE(info.found());
        EXPECT_EQ(info.text(L"ProductName"), L"Dactyla");
        EXPECT_EQ(info.text(L"ProductVersion"), wide(kVersion));
        EXPECT_EQ(info.text(L"FileVersion"), wide(kVersion));
        EXPECT_EQ(info.text(L"OriginalFilename"), name);
        EXPECT_EQ(info.text(L"LegalCopyright"), L"Copyright (c) 2026 The Dactyla developers");
        EXPECT_NE(info.text(L"FileDescription").find(L"Dactyla"), std::wstring::npos);
        EXPECT_EQ(info.text(L"CompanyName"), L"(none)");
        const VS_FIXEDFILEINFO fixed = info.fixed();
        const std::wstring version = std::to_wstring(HIWORD(fixed.dwFileVersionMS)) + L"." +
                                     std::to_wstring(LOWORD(fixed.dwFileVersionMS)) + L"." +
                                     std::to_wstring(HIWORD(fixed.dwFileVersionLS));
        EXPECT_EQ(version, wide(kVersion));
    }
}

TEST(ProgramResources, DactylaAsksForThemedControlsTheCallersRightsAndEveryMonitorsDpi) {
    const std::string manifest = manifestOf(besideTests(L"Dactyla.exe"));
    ASSERT_FALSE(manifest.empty());
    const auto holds = [&](const char* text) { return manifest.find(text) != std::string::npos; };
    EXPECT_TRUE(holds("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_TRUE(holds("level=\"asInvoker\""));
    for (const char* windows : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_TRUE(holds(windows)) << windows;
    // Per-monitor v2 where Windows knows it, per-monitor v1 on 8.1, the system DPI before.
    EXPECT_TRUE(holds(">PerMonitorV2,PerMonitor</dpiAwareness>"));
    EXPECT_TRUE(holds(">true/pm</dpiAware>"));
    EXPECT_TRUE(holds("xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\""));
    EXPECT_TRUE(holds("xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\""));
}

}  // namespace
}  // namespace dactyla
