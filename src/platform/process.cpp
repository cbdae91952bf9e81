// External program start on POSIX: shell-like word splitting, PATH lookup and posix_spawnp.
// No shell ever sees a configured text, so quotes and metacharacters in it stay plain words.
#include "platform/process.h"

#include <fcntl.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "base/numfmt.h"
#include "platform/files.h"

extern char** environ;

namespace velk {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowerText(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = lowerAscii(c);
  return out;
}

bool hasDriveLetter(std::string_view s) {
  return s.size() >= 2 && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z')) && s[1] == ':';
}

bool hasWindowsSuffix(std::string_view s) {
  const std::string l = lowerText(s);
  for (const char* ext : {".exe", ".com", ".bat", ".cmd", ".pif"}) {
    const std::size_t n = std::char_traits<char>::length(ext);
    if (l.size() > n && l.compare(l.size() - n, n, ext) == 0) return true;
  }
  return false;
}

// The first word as written (quotes kept off), to decide which splitting rules apply.
std::string firstRawWord(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && isBlank(line[i])) ++i;
  if (i < line.size() && line[i] == '"') {
    const std::size_t end = line.find('"', i + 1);
    return std::string(line.substr(i + 1, end == std::string_view::npos ? std::string_view::npos : end - i - 1));
  }
  std::size_t j = i;
  while (j < line.size() && !isBlank(line[j])) ++j;
  return std::string(line.substr(i, j - i));
}

// Windows rules: blanks separate, double quotes group (and are removed), backslashes are plain.
std::vector<std::string> splitWindows(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (isBlank(c) && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

std::vector<std::string> splitPosix(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n) {
    const char c = line[i];
    if (isBlank(c)) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
      ++i;
    } else if (c == '\'') {
      inWord = true;
      const std::size_t end = line.find('\'', i + 1);
      const std::size_t stop = end == std::string_view::npos ? n : end;
      word.append(line.substr(i + 1, stop - i - 1));
      i = stop == n ? n : stop + 1;
    } else if (c == '"') {
      inWord = true;
      ++i;
      while (i < n && line[i] != '"') {
        if (line[i] == '\\' && i + 1 < n &&
            (line[i + 1] == '$' || line[i + 1] == '`' || line[i + 1] == '"' || line[i + 1] == '\\' ||
             line[i + 1] == '\n')) {
          if (line[i + 1] != '\n') word += line[i + 1];
          i += 2;
        } else {
          word += line[i++];
        }
      }
      if (i < n) ++i;  // closing quote
    } else if (c == '\\') {
      if (i + 1 < n) {
        if (line[i + 1] != '\n') {
          word += line[i + 1];
          inWord = true;
        }
        i += 2;
      } else {
        ++i;  // a trailing backslash escapes nothing
      }
    } else {
      word += c;
      inWord = true;
      ++i;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

bool isExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

void reap(ProgramLauncher& launcher) {
  auto& kids = launcher.children;
  kids.erase(std::remove_if(kids.begin(), kids.end(),
                            [](int pid) {
                              int status = 0;
                              const pid_t r = ::waitpid(pid, &status, WNOHANG);
                              // Ended (reaped now) or not our child any more: forget it.
                              return r == pid || (r < 0 && errno == ECHILD);
                            }),
             kids.end());
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view line) {
  const std::string first = firstRawWord(line);
  if (hasDriveLetter(first) || hasWindowsSuffix(first)) return splitWindows(line);
  return splitPosix(line);
}

bool isWindowsProgramName(std::string_view program) {
  if (program.empty()) return false;
  if (hasDriveLetter(program) || program.find('\\') != std::string_view::npos || hasWindowsSuffix(program)) return true;
  const std::string base = lowerText(lastComponent(program));
  for (const char* name : {"notepad", "write", "wordpad", "iexplore", "explorer"})
    if (base == name) return true;
  return false;
}

std::string findProgram(std::string_view program) {
  if (program.empty()) return {};
  const std::string name(program);
  if (name.find('/') != std::string::npos) return isExecutableFile(name) ? name : std::string();
  const char* env = std::getenv("PATH");
  const std::string path = (env && *env) ? env : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    std::string dir = path.substr(start, end - start);
    if (dir.empty()) dir = ".";  // an empty PATH entry means the current folder
    std::string candidate = withSeparator(dir) + name;
    if (isExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return {};
}

bool isDesktopOpener(const std::vector<std::string>& argv) {
  if (argv.empty() || argv.front() != "xdg-open") return false;
  const std::string path = findProgram(argv.front());
  return path.empty() || path.front() == '/';  // not installed: the start fails, nothing else runs
}

ProgramCommand commandForFile(std::string_view commandLine, const std::string& file) {
  ProgramCommand cmd;
  std::vector<std::string> words = splitCommandLine(commandLine);
  if (words.empty()) return cmd;
  cmd.program = words.front();
  if (findProgram(cmd.program).empty()) {
    if (!isWindowsProgramName(cmd.program)) {
      cmd.status = ProgramCommand::Status::NotFound;
      return cmd;
    }
    cmd.fallback = true;
    words = {"xdg-open"};
  }
  words.push_back(file);
  cmd.argv = std::move(words);
  cmd.status = ProgramCommand::Status::Ready;
  return cmd;
}

void keepFreedHeapForReuse() {
#ifdef __GLIBC__
  mallopt(M_TRIM_THRESHOLD, 8 << 20);
#endif
}

ProgramLauncher::~ProgramLauncher() { reap(*this); }

int StartProgram(ProgramLauncher& launcher, const std::vector<std::string>& argv, bool hidden) {
  if (argv.empty() || argv.front().empty()) return ENOENT;
  if (launcher.hook) return launcher.hook(argv);
  reap(launcher);

  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  posix_spawnattr_t attr;
  posix_spawn_file_actions_t actions;
  if (int e = posix_spawnattr_init(&attr)) return e;
  if (int e = posix_spawn_file_actions_init(&actions)) {
    posix_spawnattr_destroy(&attr);
    return e;
  }
#ifdef POSIX_SPAWN_SETSID
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
#endif
  if (hidden) {
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
  pid_t pid = 0;
  const int e = posix_spawnp(&pid, args.front(), &actions, &attr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  if (e == 0) launcher.children.push_back(pid);
  return e;
}

int startErrorCode(int err) {
  switch (err) {
    case ENOMEM:
    case EAGAIN:
      return 0;
    case ENOENT:
    case ENOTDIR:
      return 2;
    case EACCES:
    case EPERM:
      return 5;
    case ENOEXEC:
      return 11;
    default:
      return 31;
  }
}

std::string startErrorText(int err) {
  const int code = startErrorCode(err);
  if (code == 0) return "out of memory !";
  if (code == 2) return "file not found";
  return "Exec error " + fmtInt(code);
}

}  // namespace velk
