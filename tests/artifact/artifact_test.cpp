// Reads the built kestrune.exe back: its headers, imports and resources.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string KestrunePath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    p = p.substr(0, p.find_last_of('\\'));  // build\tests
    return p.substr(0, p.find_last_of('\\')) + "\\kestrune.exe";
}

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The executable's headers, read from the file as Windows would map them.
class Image {
public:
    explicit Image(const std::vector<unsigned char>& file) : file_(file) {
        if (file_.size() < sizeof(IMAGE_DOS_HEADER)) return;
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(file_.data());
        if (dos->e_magic != IMAGE_DOS_SIGNATURE) return;
        nt_ = reinterpret_cast<const IMAGE_NT_HEADERS32*>(file_.data() + dos->e_lfanew);
        if (nt_->Signature != IMAGE_NT_SIGNATURE) nt_ = nullptr;
    }
    const IMAGE_NT_HEADERS32* nt() const { return nt_; }

    const unsigned char* AtRva(DWORD rva) const {
        const auto* section = IMAGE_FIRST_SECTION(nt_);
        for (WORD i = 0; i < nt_->FileHeader.NumberOfSections; ++i, ++section) {
            if (rva >= section->VirtualAddress && rva < section->VirtualAddress + section->Misc.VirtualSize)
                return file_.data() + section->PointerToRawData + (rva - section->VirtualAddress);
        }
        return nullptr;
    }

    std::vector<std::string> ImportedFunctions(const std::string& dll) const {
        std::vector<std::string> names;
        const auto& dir = nt_->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* imp = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(AtRva(dir.VirtualAddress)); imp && imp->Name;
             ++imp) {
            if (Lower(reinterpret_cast<const char*>(AtRva(imp->Name))) != dll) continue;
            for (auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA32*>(AtRva(imp->OriginalFirstThunk));
                 thunk && thunk->u1.AddressOfData; ++thunk) {
                if (IMAGE_SNAP_BY_ORDINAL32(thunk->u1.Ordinal)) continue;
                names.push_back(
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(AtRva(thunk->u1.AddressOfData))->Name);
            }
        }
        return names;
    }

    std::vector<std::string> ImportedDlls() const {
        std::vector<std::string> dlls;
        const auto& dir = nt_->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* imp = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(AtRva(dir.VirtualAddress)); imp && imp->Name;
             ++imp)
            dlls.push_back(Lower(reinterpret_cast<const char*>(AtRva(imp->Name))));
        return dlls;
    }

private:
    const std::vector<unsigned char>& file_;
    const IMAGE_NT_HEADERS32* nt_ = nullptr;
};

class Executable : public testing::Test {
protected:
    void SetUp() override {
        file_ = ReadFile(KestrunePath());
        ASSERT_FALSE(file_.empty()) << KestrunePath();
        module_ = LoadLibraryExA(KestrunePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(module_);
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }
    std::vector<unsigned char> file_;
    HMODULE module_ = nullptr;
};

TEST_F(Executable, IsA32BitWindowsGuiProgramForSubsystem4) {
    Image image(file_);
    ASSERT_TRUE(image.nt());
    const auto& nt = *image.nt();
    EXPECT_EQ(nt.FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(nt.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
    EXPECT_EQ(nt.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    EXPECT_EQ(nt.OptionalHeader.MajorSubsystemVersion, 4);
    EXPECT_EQ(nt.OptionalHeader.MinorSubsystemVersion, 0);
    EXPECT_TRUE(nt.FileHeader.Characteristics & IMAGE_FILE_EXECUTABLE_IMAGE);
}

TEST_F(Executable, ImportsOnlyWindowsSystemDlls) {
    Image image(file_);
    ASSERT_TRUE(image.nt());
    const std::set<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll",
                                          "ole32.dll",    "msvcrt.dll", "advapi32.dll"};
    const auto dlls = image.ImportedDlls();
    EXPECT_FALSE(dlls.empty());
    for (const auto& dll : dlls) EXPECT_TRUE(system.count(dll)) << dll << " is not a Windows system DLL";
    for (const char* needed : {"user32.dll", "gdi32.dll", "ole32.dll"})
        EXPECT_TRUE(std::count(dlls.begin(), dlls.end(), needed)) << needed;
    // shell32 is bound on the first click, not at start-up.
    EXPECT_EQ(std::count(dlls.begin(), dlls.end(), "shell32.dll"), 0);
}

TEST_F(Executable, IsHardenedAndReproducible) {
    Image image(file_);
    ASSERT_TRUE(image.nt());
    const auto& nt = *image.nt();
    const WORD wanted = IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE | IMAGE_DLLCHARACTERISTICS_NX_COMPAT |
                        IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE;
    EXPECT_EQ(nt.OptionalHeader.DllCharacteristics & wanted, wanted) << std::hex << nt.OptionalHeader.DllCharacteristics;
    // ASLR needs the relocations kept.
    EXPECT_FALSE(nt.FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED);
    EXPECT_GT(nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size, 8u);
    EXPECT_EQ(nt.FileHeader.TimeDateStamp, 0u);  // no link time: builds are byte-identical
    EXPECT_EQ(nt.FileHeader.PointerToSymbolTable, 0u);  // stripped
    EXPECT_EQ(nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_DEBUG].Size, 0u);
}

TEST_F(Executable, FindsSetDefaultDllDirectoriesAtRunTime) {
    // Imported directly, the program would not even load on systems that lack it.
    Image image(file_);
    ASSERT_TRUE(image.nt());
    const auto kernel = image.ImportedFunctions("kernel32.dll");
    EXPECT_EQ(std::count(kernel.begin(), kernel.end(), "SetDefaultDllDirectories"), 0);
    EXPECT_EQ(std::count(kernel.begin(), kernel.end(), "GetProcAddress"), 1);
    EXPECT_NE(std::search(file_.begin(), file_.end(), std::begin("SetDefaultDllDirectories"),
                          std::end("SetDefaultDllDirectories") - 1),
              file_.end());
}

TEST_F(Executable, StaysSmall) {
    EXPECT_LE(file_.size(), 32u * 1024u);
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list) {
    reinterpret_cast<std::vector<std::string>*>(list)->push_back(
        IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : std::string(name));
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR list) {
    reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
    return TRUE;
}

std::vector<WORD> Languages(HMODULE module, LPCSTR type, LPCSTR name) {
    std::vector<WORD> languages;
    EnumResourceLanguagesA(module, type, name, CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

TEST_F(Executable, FirstIconGroupIsDefaultIconWithThreeSixteenColourImages) {
    std::vector<std::string> groups;
    EnumResourceNamesA(module_, RT_GROUP_ICON, CollectName, reinterpret_cast<LONG_PTR>(&groups));
    ASSERT_FALSE(groups.empty());
    EXPECT_EQ(groups.front(), "DEFAULT_ICON");
    EXPECT_EQ(Languages(module_, RT_GROUP_ICON, "DEFAULT_ICON"), std::vector<WORD>{0});

    HRSRC found = FindResourceA(module_, "DEFAULT_ICON", RT_GROUP_ICON);
    ASSERT_TRUE(found);
    const auto* group = static_cast<const GroupIconHeader*>(LockResource(LoadResource(module_, found)));
    ASSERT_EQ(group->count, 3);
    std::set<int> sizes;
    for (int i = 0; i < group->count; ++i) {
        const GroupIconEntry& e = group->entries[i];
        SCOPED_TRACE(e.width);
        sizes.insert(e.width);
        EXPECT_EQ(e.width, e.height);
        EXPECT_EQ(e.colours, 16);
        EXPECT_EQ(e.bitCount, 4);
        // The image itself is a 4-bit DIB of that size.
        HRSRC image = FindResourceA(module_, MAKEINTRESOURCEA(e.id), RT_ICON);
        ASSERT_TRUE(image);
        const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module_, image)));
        EXPECT_EQ(header->biWidth, e.width);
        EXPECT_EQ(header->biHeight, 2 * e.width);
        EXPECT_EQ(header->biBitCount, 4);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));
}

std::string ManifestSource() {
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("KT_MANIFEST_SOURCE", path, MAX_PATH)) return {};
    // A Unix path from CMake under Wine, whose Z: drive is the Unix root.
    const auto bytes = ReadFile(path[0] == '/' ? std::string("Z:") + path : std::string(path));
    return {bytes.begin(), bytes.end()};
}

TEST_F(Executable, ManifestAsksForCommonControls6AndNothingElse) {
    HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_TRUE(found);
    EXPECT_EQ(Languages(module_, RT_MANIFEST, MAKEINTRESOURCEA(1)), std::vector<WORD>{0});
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(module_, found))),
                               SizeofResource(module_, found));
    EXPECT_EQ(manifest, ManifestSource());
    // The program's own identity, then exactly one dependency.
    EXPECT_NE(manifest.find(R"(processorArchitecture="x86")"), std::string::npos);
    EXPECT_NE(manifest.find(R"(type="win32")"), std::string::npos);
    const char* dependency =
        R"(<assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0" )"
        R"(processorArchitecture="x86" publicKeyToken="6595b64144ccf1df" language="*"/>)";
    EXPECT_NE(manifest.find(dependency), std::string::npos);
    size_t identities = 0;
    for (size_t at = manifest.find("<assemblyIdentity"); at != std::string::npos;
         at = manifest.find("<assemblyIdentity", at + 1))
        ++identities;
    EXPECT_EQ(identities, 2u);
    for (const char* absent : {"dpiAware", "dpiAwareness", "requestedExecutionLevel", "trustInfo", "compatibility"})
        EXPECT_EQ(manifest.find(absent), std::string::npos) << absent;
}

TEST_F(Executable, VersionIs1000WithHonestTexts) {
    const std::string path = KestrunePath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    struct Text {
        const char* key;
        const char* value;
    };
    const Text texts[] = {{"ProductName", "Kestrune"},
                          {"FileVersion", "1.0.0.0"},
                          {"ProductVersion", "1.0.0.0"},
                          {"OriginalFilename", "kestrune.exe"}};
    for (const Text& t : texts) {
        char* value = nullptr;
        const std::string key = std::string("\\StringFileInfo\\000004B0\\") + t.key;
        ASSERT_TRUE(VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) << t.key;
        EXPECT_STREQ(value, t.value);
    }
}

}  // namespace
