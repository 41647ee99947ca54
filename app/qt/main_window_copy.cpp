// Copy, delete, the pop-up menu and the key table.
#include <QAction>
#include <QKeyEvent>
#include <QToolButton>

#include "app/copy_text.h"
#include "app/qt/clipboard.h"
#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "util/qt/wait_cursor.h"
#include "util/messages.h"

namespace tavrin {

void TfoMAIN::pmCopySelectClick(QObject* Sender) {
  const bool all = Sender == pmCopyAll || Sender == sbCopyAll;
  WaitCursorGuard wait;
  const std::vector<std::size_t> selected = all ? std::vector<std::size_t>{} : SelectedRows();
  const TCopyResult copy = CopyRows(FModel->Rows(), selected,
                                    all ? TCopyKind::All : TCopyKind::Selected, FCopyCount);
  if (copy.Status == TCopyResult::TStatus::Copied) {
    WriteClipboardText(copy.Text);
    if (FSound) Beep();
  }
  InformationDialog(copy.Message);
}

void TfoMAIN::pmDeleteClick() {
  WaitCursorGuard wait;
  const std::vector<std::size_t> selected = SelectedRows();
  if (selected.empty()) return;
  std::vector<bool> remove(static_cast<std::size_t>(FModel->Count()), false);
  for (std::size_t row : selected) {
    remove[row] = true;
    FModel->Row(static_cast<int>(row)).Item->SetShown(false);
  }
  FModel->RemoveRows(remove);
  if (FListSimilar) ShowGroups();  // a deleted row leaves its group
}

void TfoMAIN::PopupMenu1Popup() {
  pmCopyAll->setEnabled(FModel->Count() > 0);
  pmCopySelect->setEnabled(HasSelection());
  pmDelete->setEnabled(HasSelection());
}

void TfoMAIN::lvResultDblClick() {
  if (HasSelection()) pmCopySelectClick(lvResult);
}

bool TfoMAIN::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
  switch (key) {
    case Qt::Key_F1:
      imgHelpClick();
      return true;
    case Qt::Key_F5:
      sbExtractRuijiClick(this);
      return true;
    case Qt::Key_F6:
      sbGetAllDataClick(sbGetAllData);
      return true;
    case Qt::Key_F7:
      pmCopySelectClick(pmCopyAll);
      return true;
    case Qt::Key_F8:
      pmCopyNormalizedClick();
      return true;
    case Qt::Key_F9:
      pmCopyMapClick();
      return true;
    case Qt::Key_Delete:
      pmDeleteClick();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      pmCopySelectClick(pmCopySelect);
      return true;
    case Qt::Key_C:
      if (!(shift & Qt::ControlModifier)) return false;
      pmCopySelectClick(pmCopySelect);
      return true;
    default:
      return false;
  }
}

}  // namespace tavrin
