// Shared scaffolding of the report tests: a session whose temporary folder, clock and program
// launcher are the test's own, and helpers to read what a report left behind.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "report/reportfiles.h"
#include "report/reportwriter.h"
#include "reportui/reportservice.h"
#include "support/fixture.h"

namespace velk::test {

class ReportTest : public SessionTest {
 protected:
  ReportTest() {
    tmp = dir.path() + "tmp/";
    std::filesystem::create_directory(tmp);
    ws.config.tempDir = tmp;
    ws.config.htmlBrowser.clear();
    ws.config.pltDir = dir.path();
    ws.report.fixedDate = "01.02.2024";
    ws.report.fixedTime = "9:05";
    ws.spring.fileName = "feder";
    // Nothing is ever started from a test: the launcher records what it would start.
    ws.programs.hook = [this](const std::vector<std::string>& argv) {
      launches.push_back(argv);
      return 0;
    };
  }

  // Header block, open, page header, body, end of page, close: the producers' calling order.
  void report(std::optional<ReportDevice> device, const std::function<void()>& body, int totalSheets = 0) {
    SetReportHeader(ws.report, "", "Zeile 2", "Zeile 3", "Zeile 4", "", totalSheets);
    OpenReport(ws, device, "feder.TXT");
    if (ws.abort) return;
    WritePageHeader(ws.report, 0, 0);
    if (ReportStopped(ws)) return;
    body();
    EndPage(ws.report);
    CloseReport(ws);
  }

  // The text of a report on the DOS file device (code page 850, as written).
  std::string dosReport(const std::function<void()>& body) {
    report(ReportDevice::DosFile, body);
    return readFile(tmp + "OUTDOS.TXT");
  }

  std::vector<std::string> tempFiles() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(tmp)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string tmp;
  std::vector<std::vector<std::string>> launches;
};

inline std::vector<std::string> linesOf(const std::string& text) { return splitLines(text); }

// The body lines of a text-device line: the text after the 7-blank margin.
inline std::string body(const std::string& line) { return line.size() >= 7 ? line.substr(7) : std::string(); }

}  // namespace velk::test
