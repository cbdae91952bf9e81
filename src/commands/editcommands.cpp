// The Edit menu: the input forms, the material choice and the design modes, each followed by the
// calculation and the redraw of the result view where its inputs may have changed.
#include <optional>

#include "base/identity.h"
#include "calc/calculate.h"
#include "calcservice/designtable.h"
#include "calcservice/materialselect.h"
#include "commands/commandhelpers.h"
#include "commands/menucommands.h"
#include "dialogs/configio.h"
#include "dialogs/inputforms.h"
#include "draw/drawing.h"
#include "graphics/views.h"

namespace velk {

namespace {

// A form that recalculates even when it was cancelled. The cancel is reported through the flag
// only afterwards: set before, it would stop the redraw once the window was cleared.
void calculateAndRefresh(Session& ws, bool cancelled) {
  CalculateSpring(ws);
  Refresh(ws);
  if (cancelled) ws.abort = true;
}

// The three design modes: valid material data first (a spring without them cannot be designed),
// then the table of the mode.
void runDesignMode(Session& ws, void (*table)(CalcContext&, const QuickViewRefresh&)) {
  ws.abort = false;
  if (ws.spring.sigman < 1) {
    SelectMaterial(ws);
    if (ws.abort) return;
    CalculateSpring(ws);
  }
  table(ws, [&ws](CalcContext&) { QuickViewOfPass(ws); });
  if (ws.abort) return;
  ws.spring.modified = true;
  Refresh(ws);
}

}  // namespace

void EditQuick(Session& ws) {
  ws.abort = false;
  InputSequence(ws);
  if (ws.abort) return;
  Refresh(ws);
  ws.spring.modified = true;
}

void EditText(Session& ws) {
  ws.abort = false;
  EditSpringTexts(ws);
  if (ws.abort) return;
  ws.spring.modified = true;
}

void EditSpringEnds(Session& ws) {
  ws.abort = false;
  // The request keeps a reference to the number settings: its unit switch changes them at once.
  const std::optional<SpringEndsResult> r =
      ws.ui.show(buildSpringEndsRequest(ws.spring, ws.config.num, FormContext(ws)));
  if (r) {
    applySpringEnds(ws.spring, ws.config.num, *r);
    ws.spring.modified = true;
  }
  calculateAndRefresh(ws, !r);
}

void EditMaterial(Session& ws) {
  ws.abort = false;
  SelectMaterial(ws);
  if (ws.abort) return;
  ws.spring.modified = true;
  CalculateSpring(ws);
  Refresh(ws);
}

void EditApplication(Session& ws) {
  ws.abort = false;
  const std::optional<ApplicationResult> r =
      ws.ui.show(buildApplicationRequest(ws.spring, ws.config.num, FormContext(ws)));
  if (r) {
    applyApplication(ws.spring, ws.config.num, *r);
    ws.spring.modified = true;
  }
  calculateAndRefresh(ws, !r);
}

void EditDimensioning(Session& ws) { runDesignMode(ws, DimensioningTable); }
void EditRecalculation(Session& ws) { runDesignMode(ws, RecalculationTable); }
void EditPreDimensioning(Session& ws) { runDesignMode(ws, PreDimensioningTable); }

void EditCalculation(Session& ws) {
  ws.abort = false;
  Spring& s = ws.spring;
  // The form stays open over the list of help images, with the abort flag as it was.
  const CalcSettingsRequest request =
      buildCalcSettingsRequest(s, ws.config.num, FormContext(ws), [&ws] { ws.help->showHelpImages(); });
  const std::optional<CalcSettingsResult> r = ws.ui.show(request);
  if (!r) {
    ws.abort = true;
    return;
  }
  const uint16_t previousCrossSection = s.crossSection;
  const CalcSettingsOutcome outcome = applyCalcSettings(s, ws.config.num, *r);
  // The unit system is a setting of the program, not of the spring: kept for the next start.
  if (outcome.unitsChanged) KeepConfiguration(ws);
  if (outcome.crossSectionChanged) {
    SelectMaterial(ws);
    if (ws.abort) {
      // No material of the new cross-section was chosen: the spring keeps its cross-section, so
      // that its material and its cross-section never disagree.
      s.crossSection = previousCrossSection;
      return;
    }
    CalculateSpring(ws);
    Refresh(ws);
  } else if (outcome.unitsChanged) {
    Refresh(ws);  // the view shows its values in the other unit system now
  }
  s.modified = true;
}

}  // namespace velk
