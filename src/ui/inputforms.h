// The three input forms of the edit menu: calculation settings (TForm_velkconf), spring ends
// (TForm_federenden) and application (TEingabeEinsatzfall) as the window sees them: what each shows,
// what it hands back, and the enable rules its controls follow while the user changes them.
// Filling and storing them is in dialogs/inputforms.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velk {

// A tool tip taken from the help texts. text is empty while tool tips are off (help level 0).
struct ToolTip {
  uint16_t helpNumber = 0;
  std::string text;
};

// ---- Calculation settings (TForm_velkconf) ----

// The two combo boxes as the user left them (item indices, 0-based).
struct CalcSettingsResult {
  int crossSectionIndex = 0;  // ComboBox1: 0 "flach (Band)", 1 "rund (Draht)"
  int unitsIndex = 0;         // ComboBox_metric: 0 metric, 1 imperial
};

struct CalcSettingsRequest {
  using Result = CalcSettingsResult;
  std::string caption;                                 // the application title
  std::string crossSectionLabel = "Drahtquerschnitt";  // Label1
  std::vector<std::string> crossSectionItems{"flach (Band)", "rund (Draht)"};
  std::string unitsLabel = "Einheiten metrisch/imperial";  // Label_metric
  std::vector<std::string> unitsItems;                     // "metrisch: mm, N, N/mm², °C", "imperial: ..."
  CalcSettingsResult controls;                             // as the form opens
  bool showHints = true;
  ToolTip crossSectionHint{5490, {}};
  ToolTip unitsHint{2800, {}};
  std::string okCaption = "OK";  // default button
  std::string cancelCaption = "Abbrechen";
  std::string helpCaption = "&Hilfetext";
  uint16_t helpNumber = 1000;
  std::string helpImagesCaption = "Hilfe&bild";
  std::function<void()> showHelpImages;  // the help image browser; the form stays open
};

// ---- Spring ends (TForm_federenden) ----

// The controls of the form as the user left them. Edit texts are lengths in the unit system that
// is current when the form closes (code page 850).
struct SpringEndsResult {
  int formiIndex = 0;          // RadioGroup_formi: 0 "eingespannt", 1 "abgebogen"
  std::string li, ri;          // Edit_li, Edit_ri
  int formeIndex = 0;          // RadioGroup_forme
  std::string le, re;          // Edit_le, Edit_re
  bool kugelstrahlen = false;  // CheckBox_kugelstrahlen
};

// Which edit fields take input: the length and radius of an end only while it is bent.
struct SpringEndsEnabled {
  bool li = false, ri = false, le = false, re = false;
};
SpringEndsEnabled springEndsEnabled(const SpringEndsResult& controls);

// The form refilled after "mm <--> inch": the controls in the new unit system and its unit text.
struct SpringEndsRefill {
  SpringEndsResult controls;
  std::string unit;
};

struct SpringEndsRequest {
  using Result = SpringEndsResult;
  std::string caption;     // the application title
  std::string innerTitle;  // GroupBox_i "Federende innen"
  std::string outerTitle;  // GroupBox_e "Federende außen"
  std::string formTitle = "Form";
  std::vector<std::string> formItems{"eingespannt", "abgebogen"};
  std::string lengthLabel;                    // Label_li, Label_le "Länge Federende"
  std::string radiusLabel = "Abbiegeradius";  // Label_ri, Label_re
  std::string unit;                           // Label_liu, Label_riu, Label_leu, Label_reu: "mm" or "in"
  std::string kugelstrahlenCaption = "Feder kugelgestrahlt";
  SpringEndsResult controls;  // as the form opens
  SpringEndsEnabled enabled;  // springEndsEnabled(controls)
  bool showHints = true;
  ToolTip kugelstrahlenHint{5340, {}};
  std::string okCaption = "OK";  // default button
  std::string cancelCaption = "Abbrechen";
  std::string helpCaption = "&Hilfetext";
  uint16_t helpNumber = 9060;
  std::string metricCaption = "mm <--> inch";  // Button_metric
  // "mm <--> inch": switches the program-wide unit system at once (it stays switched whether the
  // form is then confirmed or cancelled) and returns the controls to show, the lengths re-read
  // from the given controls and written in the new unit system. Radio buttons and the check box
  // stay; the fields of a clamped end show 0.
  std::function<SpringEndsRefill(const SpringEndsResult& current)> switchUnits;
};

// ---- Application (TEingabeEinsatzfall) ----

struct ApplicationResult {
  int statdynIndex = 0;    // RadioGroup_statdyn: 0 "statisch oder quasistatisch", 1 "dynamisch"
  std::string freq;        // Edit_freq, load cycles per second
  std::string temperatur;  // Edit_temperatur, in °C or °F
};

// The frequency field takes input only for dynamic loading.
bool frequencyEnabled(const ApplicationResult& controls);

struct ApplicationRequest {
  using Result = ApplicationResult;
  std::string caption;  // application title + " Anwendung"
  std::string statdynTitle = "Art der Beanspruchung";
  std::vector<std::string> statdynItems{"statisch oder quasistatisch", "dynamisch"};
  std::string freqLabel = "Lastspielfrequenz";  // Label_freq
  std::string freqUnit = "1/s";
  std::string temperaturLabel = "Betriebstemperatur";  // Label_temperatur
  std::string temperaturUnit;                          // Label_tempu: unitTemp
  ApplicationResult controls;                          // as the form opens
  bool freqEnabled = false;                            // frequencyEnabled(controls)
  bool showHints = true;
  ToolTip freqHint{5280, {}};
  ToolTip temperaturHint{5350, {}};
  ToolTip statdynHint{5270, {}};
  std::string okCaption = "OK";
  std::string cancelCaption = "Abbrechen";
  std::string helpCaption = "&Hilfe";
  uint16_t helpNumber = 9020;
};

}  // namespace velk
