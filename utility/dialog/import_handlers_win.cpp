// MainDialog's import of cursor packs: "Import...", a second start's import handed over, and
// this start's own; the pack opened, previewed unless quiet, copied, and its scheme chosen.
#include "utility/dialog/main_dialog_win.h"

#include <commdlg.h>

#include <cstring>
#include <new>

#include "utility/cursor/pack_import_win.h"
#include "utility/dialog/import_preview_dialog_win.h"
#include "utility/records/utility_identity.h"

namespace {
constexpr char kImportCaption[] = "Import cursor pack";
// Cursor files stand for the folder they lie in.
constexpr char kImportFilter[] =
    "Cursor packs (*.inf;*.theme;*.zip;*.cur;*.ani)\0*.inf;*.theme;*.zip;*.cur;*.ani\0All files (*.*)\0*.*\0";
}  // namespace

void MainDialog::OnImportButton() {
  char path[kTextBufferSize] = "";
  OPENFILENAMEA open = {};
  open.lStructSize = sizeof open;
  open.hwndOwner = m_hWnd;
  open.lpstrFilter = kImportFilter;
  open.lpstrFile = path;
  open.nMaxFile = sizeof path;
  open.lpstrTitle = kImportCaption;
  open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (::GetOpenFileNameA(&open)) ImportPack(path, false);
}

LRESULT MainDialog::OnCopyData(const COPYDATASTRUCT& data) {
  // Only a command line with its terminator, within a path's room and the words around it.
  char line[2 * kTextBufferSize];
  const char* text = static_cast<const char*>(data.lpData);
  if (data.dwData != kImportHandOverTag || !text || data.cbData == 0 || data.cbData > sizeof line ||
      text[data.cbData - 1] != '\0') {
    return kImportRefused;
  }
  std::memcpy(line, text, data.cbData);
  const ImportCommand command = ParseImportCommand(line);
  if (!command.import) return kImportRefused;
  return ImportPack(command.path, command.quiet);
}

void MainDialog::OnStartImport() {
  if (startImport.import) ImportPack(startImport.path, startImport.quiet);
  startImport.import = false;
}

int MainDialog::ImportPack(const char* path, bool quiet) {
  OpenedPack* pack = new (std::nothrow) OpenedPack;
  ImportPlan* plan = new (std::nothrow) ImportPlan;
  const char* problem = nullptr;
  int result = kImportRefused;
  if (pack && plan && pack->Open(path, &problem) && PlanPackImport(*pack, plan, &problem)) {
    bool go = true;
    if (!quiet) {
      ImportPreviewDialog preview(*this, *pack, *plan);
      go = preview.DoModal() == IDOK;
      if (preview.RemovedAny()) {
        // The scheme in force may be gone: its roles then show the platform's cursors.
        FillSchemeBox();
        LoadSchemeInForce();
        ApplyAllCursors();
        ShowSchemeChoice();
      }
    }
    if (!go) {
      result = kImportCancelled;
    } else if (CopyPlannedScheme(*pack, *plan, &problem)) {
      result = kImportDone;
      FillSchemeBox();
      const int at = schemeBox.FindStringExact(-1, plan->schemeName);
      if (at >= 0) {
        schemeBox.SetCurSel(at);
        OnSchemeChosen();
      }
    }
  }
  if (result == kImportRefused && !quiet) {
    ::MessageBoxA(m_hWnd, problem ? problem : "The pack could not be opened.", kImportCaption, MB_OK | MB_ICONWARNING);
  }
  delete plan;
  delete pack;
  return result;
}
