// The settings dialog: it edits ten of the option fields and the result
// list's font. Changes act from the next command; they reach the settings
// file at closing.
#include <QCheckBox>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <utility>

#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "settings/qt/font_binding.h"
#include "settings/qt/set_dialog.h"
#include "util/cp932.h"
#include "util/qt/modal.h"
#include "util/qt/qsjis.h"
#include "util/qt/updates_suspended.h"
#include "util/qt/window_routines.h"

namespace tavrin {
namespace {

// The ten options with their check boxes, in the order they are transferred.
void TransferOptions(TfoMAIN& main, TfoSet& set, TransferDirection direction) {
  const std::pair<QCheckBox*, bool*> options[] = {
      {set.chbSound, &main.FSound},
      {set.chbShowHint, &main.FHint},
      {set.chbZenkaku, &main.FZenkaku},
      {set.chbUpper, &main.FUpper},
      {set.chbExtractSort, &main.FExtractSort},
      {set.chbExtractTrim, &main.FTrim},
      {set.chbExprsQuote, &main.FExprsQuote},
      {set.chbCopyCount, &main.FCopyCount},
      {set.chbHyphenTerminate, &main.FHyphenTerminate},
      {set.chbHyphen, &main.FHyphen},
  };
  for (auto [box, field] : options) TransferCheckBox(box, *field, direction);
}

constexpr int kSampleRows = 10;

}  // namespace

void TfoMAIN::CreateSetDialog() {
  foSet = new TfoSet(dlgFont, this);
  foSet->hide();
  connect(sbSet, &QToolButton::clicked, this, [this] { sbSetClick(); });
}

void TfoMAIN::sbSetClick() {
  TransferOptions(*this, *foSet, TransferDirection::ToControl);
  QTreeWidget* lvSet = foSet->lvSet;
  CopyWidgetFont(*lvResult, *lvSet);
  {
    TUpdatesSuspended suspended(lvSet);
    lvSet->clear();
    // The first rows as the result list shows them: caption (quoted or
    // not), count text and picture.
    const int rows = std::min(FModel->rowCount(), kSampleRows);
    for (int r = 0; r < rows; ++r) {
      auto* row = new QTreeWidgetItem(lvSet);
      row->setText(0, FModel->index(r, 0).data(Qt::DisplayRole).toString());
      row->setText(1, FModel->index(r, 1).data(Qt::DisplayRole).toString());
      row->setIcon(0, FModel->index(r, 0).data(Qt::DecorationRole).value<QIcon>());
    }
    if (lvSet->topLevelItemCount() == 0) {
      const QIcon picture = TResultModel::kImageIndex < static_cast<int>(IL201905.size())
                                ? IL201905[TResultModel::kImageIndex]
                                : QIcon();
      for (const char* caption : {"サンプル-1", "サンプル-2"}) {
        auto* row = new QTreeWidgetItem(lvSet);
        row->setText(0, FromSjis(cp932::Sjis(caption)));
        row->setText(1, QStringLiteral("1"));
        row->setIcon(0, picture);
      }
    }
  }
  if (ExecModal(*foSet) != QDialog::Accepted) return;
  TransferOptions(*this, *foSet, TransferDirection::ToVariable);
  CopyWidgetFont(*lvSet, *lvResult);
  ApplyHint(FHint);
  ApplyEngine();
}

}  // namespace tavrin
