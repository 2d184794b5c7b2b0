// Files on Windows. Byte-range locks are LockFileEx locks, which belong to the
// handle; a lock is always released with exactly the range it was taken with.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

#include <string>

#include "error.h"
#include "file.h"
#include "file_win.h"

namespace velmont::data {
namespace {

std::wstring widenWith(UINT codePage, DWORD flags, const std::string& s) {
  const int n = MultiByteToWideChar(codePage, flags, s.data(), int(s.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring w(size_t(n), L'\0');
  MultiByteToWideChar(codePage, flags, s.data(), int(s.size()), w.data(), n);
  return w;
}

bool startsWith(const std::wstring& s, const wchar_t* prefix) { return s.rfind(prefix, 0) == 0; }

std::string lastErrorText() {
  const DWORD code = GetLastError();
  if (code == ERROR_SHARING_VIOLATION) return "another program has it open and does not share it";
  if (code == ERROR_LOCK_VIOLATION) return "another program has locked this part of it";
  char* text = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = text ? text : ("error " + std::to_string(code));
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
    message.pop_back();
  return message;
}

// Ordinary calls take paths of up to MAX_PATH characters (directories a little
// less); longer ones need the extended-length form.
constexpr size_t kLongPath = MAX_PATH - 12;

OVERLAPPED at(uint64_t offset) {
  OVERLAPPED o{};
  o.Offset = DWORD(offset & 0xFFFFFFFFu);
  o.OffsetHigh = DWORD(offset >> 32);
  return o;
}

class WinFile final : public File {
 public:
  WinFile(std::string path, HANDLE h) : File(std::move(path)), h_(h) {}
  ~WinFile() override { CloseHandle(h_); }

  size_t readAt(uint64_t offset, void* buf, size_t n) override {
    size_t done = 0;
    while (done < n) {
      OVERLAPPED o = at(offset + done);
      DWORD got = 0;
      const DWORD want = DWORD(std::min<size_t>(n - done, 1u << 30));
      if (!ReadFile(h_, static_cast<char*>(buf) + done, want, &got, &o)) {
        if (GetLastError() == ERROR_HANDLE_EOF) break;
        throw DataError(path(), "cannot read: " + lastErrorText());
      }
      if (got == 0) break;
      done += got;
    }
    countRead(*this, done);
    return done;
  }

  void writeAt(uint64_t offset, const void* buf, size_t n) override {
    size_t done = 0;
    while (done < n) {
      OVERLAPPED o = at(offset + done);
      DWORD put = 0;
      const DWORD want = DWORD(std::min<size_t>(n - done, 1u << 30));
      if (!WriteFile(h_, static_cast<const char*>(buf) + done, want, &put, &o))
        throw DataError(path(), "cannot write: " + lastErrorText());
      if (put == 0) throw DataError(path(), "cannot write: nothing was written");
      done += put;
    }
  }

  uint64_t size() override {
    LARGE_INTEGER s;
    if (!GetFileSizeEx(h_, &s)) throw DataError(path(), "cannot read its size: " + lastErrorText());
    return uint64_t(s.QuadPart);
  }

  void sync() override { FlushFileBuffers(h_); }

  bool tryLock(uint64_t offset, uint64_t length, LockKind kind) override {
    OVERLAPPED o = at(offset);
    DWORD flags = LOCKFILE_FAIL_IMMEDIATELY;
    if (kind == LockKind::kExclusive) flags |= LOCKFILE_EXCLUSIVE_LOCK;
    return LockFileEx(h_, flags, 0, DWORD(length & 0xFFFFFFFFu), DWORD(length >> 32), &o) != 0;
  }

  void unlock(uint64_t offset, uint64_t length) override {
    OVERLAPPED o = at(offset);
    UnlockFileEx(h_, 0, DWORD(length & 0xFFFFFFFFu), DWORD(length >> 32), &o);
  }

 private:
  HANDLE h_;
};

class WinEnv final : public Env {
 public:
  std::unique_ptr<File> open(const std::string& path, OpenMode mode) override {
    const DWORD access = mode == OpenMode::kReadWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    HANDLE h = CreateFileW(windowsPath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      const DWORD code = GetLastError();
      if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) throw DataError(path, "file not found");
      // Windows refuses a directory as "access denied"; say what it is, as on Linux.
      const DWORD attributes = GetFileAttributesW(windowsPath(path).c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw DataError(path, "is a directory, not a file");
      SetLastError(code);
      throw DataError(path, "cannot open: " + lastErrorText());
    }
    return std::make_unique<WinFile>(path, h);
  }

  std::unique_ptr<File> create(const std::string& path) override {
    HANDLE h = CreateFileW(windowsPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw DataError(path, "cannot create: " + lastErrorText());
    return std::make_unique<WinFile>(path, h);
  }

  bool exists(const std::string& path) override {
    const DWORD a = GetFileAttributesW(windowsPath(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }

  void rename(const std::string& from, const std::string& to) override {
    if (!MoveFileExW(windowsPath(from).c_str(), windowsPath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      throw DataError(to, "cannot replace with " + from + ": " + lastErrorText());
  }

  bool publish(const std::string& from, const std::string& to) override {
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the name exists.
    if (MoveFileExW(windowsPath(from).c_str(), windowsPath(to).c_str(), MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD code = GetLastError();
    if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) return false;
    SetLastError(code);
    throw DataError(to, "cannot move " + from + " into place: " + lastErrorText());
  }

  void remove(const std::string& path) override { DeleteFileW(windowsPath(path).c_str()); }

  // Windows finds a name in any letter case by itself.
  std::string find(const std::string& dir, const std::string& name) override {
    const std::string path = pathIn(dir, name);
    return GetFileAttributesW(windowsPath(path).c_str()) != INVALID_FILE_ATTRIBUTES ? path : std::string();
  }
};

}  // namespace

std::wstring windowsPath(const std::string& path) {
  std::wstring w = widenWith(CP_UTF8, MB_ERR_INVALID_CHARS, path);
  if (w.empty() && !path.empty()) w = widenWith(CP_ACP, 0, path);
  if (w.size() < kLongPath || startsWith(w, L"\\\\?\\") || startsWith(w, L"\\\\.\\")) return w;
  const DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
  if (n == 0) return w;
  std::wstring full(size_t(n), L'\0');
  const DWORD len = GetFullPathNameW(w.c_str(), n, full.data(), nullptr);
  if (len == 0 || len >= n) return w;
  full.resize(len);
  if (startsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);  // \\server\share\...
  return L"\\\\?\\" + full;
}

std::filesystem::path fsPath(const std::string& path) {
  if (!path.empty() && widenWith(CP_UTF8, MB_ERR_INVALID_CHARS, path).empty()) return std::filesystem::path(path);
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string pathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

Env* Env::posixOrWin() {
  static WinEnv env;
  return &env;
}

}  // namespace velmont::data
