// Reads the import and delay-load tables of a PE file straight from its bytes.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "harness.h"

namespace viz::e2e {

namespace {

class PeFile {
 public:
  explicit PeFile(std::vector<uint8_t> bytes) : b_(std::move(bytes)) {}

  bool Parse() {
    IMAGE_DOS_HEADER dos;
    if (!Read(0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return false;
    const size_t nt = static_cast<size_t>(dos.e_lfanew);
    DWORD sig;
    IMAGE_FILE_HEADER fh;
    if (!Read(nt, &sig) || sig != IMAGE_NT_SIGNATURE || !Read(nt + 4, &fh)) return false;
    const size_t opt = nt + 4 + sizeof fh;
    WORD magic;
    if (!Read(opt, &magic)) return false;
    size_t dirs;
    if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC)
      dirs = opt + offsetof(IMAGE_OPTIONAL_HEADER32, DataDirectory);
    else if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC)
      dirs = opt + offsetof(IMAGE_OPTIONAL_HEADER64, DataDirectory);
    else
      return false;
    if (!Read(dirs + IMAGE_DIRECTORY_ENTRY_IMPORT * sizeof(IMAGE_DATA_DIRECTORY), &import_) ||
        !Read(dirs + IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT * sizeof(IMAGE_DATA_DIRECTORY), &delay_))
      return false;
    symbols_ = fh.PointerToSymbolTable;
    symbolCount_ = fh.NumberOfSymbols;
    const size_t sections = opt + fh.SizeOfOptionalHeader;
    for (WORD i = 0; i < fh.NumberOfSections; ++i) {
      IMAGE_SECTION_HEADER s;
      if (!Read(sections + i * sizeof s, &s)) return false;
      sections_.push_back(s);
    }
    return true;
  }

  // Walks an array of descriptors (import or delay import), each naming a library by RVA at
  // `name_offset`, until the all-zero terminator.
  template <typename Descriptor>
  bool Names(const IMAGE_DATA_DIRECTORY& dir, size_t name_offset, std::vector<std::string>& out) {
    if (dir.VirtualAddress == 0) return true;
    auto pos = FileOffset(dir.VirtualAddress);
    if (!pos) return false;
    for (size_t i = 0; i < 4096; ++i) {
      Descriptor d;
      if (!Read(*pos + i * sizeof d, &d)) return false;
      static const Descriptor zero{};
      if (std::memcmp(&d, &zero, sizeof d) == 0) return true;
      DWORD rva;
      std::memcpy(&rva, reinterpret_cast<const uint8_t*>(&d) + name_offset, sizeof rva);
      auto name = String(rva);
      if (!name) return false;
      out.push_back(*name);
    }
    return false;
  }

  // Section names; a name longer than eight characters stands in the COFF string table, which
  // the header names as "/offset".
  std::vector<std::string> SectionNames() const {
    std::vector<std::string> out;
    const size_t strings = static_cast<size_t>(symbols_) + static_cast<size_t>(symbolCount_) * 18;
    for (const auto& s : sections_) {
      const char* raw = reinterpret_cast<const char*>(s.Name);
      std::string name(raw, std::find(raw, raw + 8, '\0'));
      if (name.size() > 1 && name[0] == '/' && symbols_ != 0) {
        const size_t at = strings + std::strtoul(name.c_str() + 1, nullptr, 10);
        name.clear();
        for (size_t i = at; i < b_.size() && b_[i] && name.size() < 256; ++i)
          name.push_back(static_cast<char>(b_[i]));
      }
      out.push_back(name);
    }
    return out;
  }

  const IMAGE_DATA_DIRECTORY& import_dir() const { return import_; }
  const IMAGE_DATA_DIRECTORY& delay_dir() const { return delay_; }

 private:
  template <typename T>
  bool Read(size_t offset, T* out) const {
    if (offset > b_.size() || b_.size() - offset < sizeof(T)) return false;
    std::memcpy(out, b_.data() + offset, sizeof(T));
    return true;
  }

  std::optional<size_t> FileOffset(DWORD rva) const {
    for (const auto& s : sections_) {
      const DWORD size = std::max(s.Misc.VirtualSize, s.SizeOfRawData);
      if (rva >= s.VirtualAddress && rva - s.VirtualAddress < size)
        return static_cast<size_t>(s.PointerToRawData) + (rva - s.VirtualAddress);
    }
    return std::nullopt;
  }

  std::optional<std::string> String(DWORD rva) const {
    auto pos = FileOffset(rva);
    if (!pos) return std::nullopt;
    std::string s;
    for (size_t i = *pos; i < b_.size() && b_[i] && s.size() < 256; ++i)
      s.push_back(static_cast<char>(std::tolower(b_[i])));
    return s;
  }

  std::vector<uint8_t> b_;
  IMAGE_DATA_DIRECTORY import_{}, delay_{};
  DWORD symbols_ = 0, symbolCount_ = 0;
  std::vector<IMAGE_SECTION_HEADER> sections_;
};

// The delay-load descriptor as the PE format lays it out (the SDK's name differs between
// MinGW and Microsoft headers).
struct DelayDescriptor {
  DWORD attributes, dll_name_rva, module_handle_rva, iat_rva, int_rva, bound_iat_rva,
      unload_iat_rva, timestamp;
};

}  // namespace

std::optional<std::vector<std::string>> PeImports(const std::wstring& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  PeFile pe(std::move(*bytes));
  std::vector<std::string> names;
  if (!pe.Parse() ||
      !pe.Names<IMAGE_IMPORT_DESCRIPTOR>(pe.import_dir(), offsetof(IMAGE_IMPORT_DESCRIPTOR, Name),
                                         names) ||
      !pe.Names<DelayDescriptor>(pe.delay_dir(), offsetof(DelayDescriptor, dll_name_rva), names))
    return std::nullopt;
  return names;
}

std::optional<std::vector<std::string>> PeSectionNames(const std::wstring& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  PeFile pe(std::move(*bytes));
  if (!pe.Parse()) return std::nullopt;
  return pe.SectionNames();
}

}  // namespace viz::e2e
