// The settings dialog of the Qt skin: created once after FormCreate, filled
// from the option values and the list before each opening.
#include <QCheckBox>
#include <QToolButton>
#include <QTreeWidget>

#include "app/qt/main_window.h"
#include "app/qt/result_model.h"
#include "app/qt/result_view.h"
#include "settings/qt/font_binding.h"
#include "settings/qt/set_dialog.h"
#include "util/qt/modal.h"
#include "util/qt/qsjis.h"
#include "util/qt/updates_suspended.h"

namespace tavrin {
namespace {

QCheckBox* Box(TfoSet& set, const TSetOptionRow& row) {
  return set.Boxes[static_cast<std::size_t>(&row - SetOptionRows().data())];
}

}  // namespace

void TfoMAIN::CreateSetDialog() {
  foSet = new TfoSet(dlgFont, this);
  foSet->hide();
  connect(sbSet, &QToolButton::clicked, this, [this] { sbSetClick(); });
}

bool TfoMAIN::RunSettingsDialog(TSetOptionValues& options, FontValue& listFont,
                                const std::vector<TSampleRow>& samples,
                                const TDictionaryLine& dictionary) {
  foSet->SetDictionary(dictionary.Text, dictionary.Edit);
  for (const TSetOptionRow& row : SetOptionRows())
    if (QCheckBox* box = Box(*foSet, row)) box->setChecked(options.*row.Field);
  QTreeWidget* lvSet = foSet->lvSet;
  // The list's font with all its attributes, or the one given.
  if (WidgetFont(*lvResult) == listFont)
    CopyWidgetFont(*lvResult, *lvSet);
  else
    SetWidgetFont(*lvSet, listFont);
  {
    TUpdatesSuspended suspended(lvSet);
    lvSet->clear();
    const QIcon picture = TResultList::kImageIndex < static_cast<int>(IL201905.size())
                              ? IL201905[TResultList::kImageIndex]
                              : QIcon();
    for (const TSampleRow& sample : samples) {
      auto* row = new QTreeWidgetItem(lvSet);
      row->setText(0, FromSjis(sample.Caption));
      row->setText(1, FromSjis(sample.Count));
      row->setIcon(0, picture);
    }
  }
  if (ExecModal(*foSet) != QDialog::Accepted) return false;
  for (const TSetOptionRow& row : SetOptionRows())
    if (QCheckBox* box = Box(*foSet, row)) options.*row.Field = box->isChecked();
  // The list takes the sample's font with all its attributes.
  CopyWidgetFont(*lvSet, *lvResult);
  listFont = WidgetFont(*lvResult);
  return true;
}

}  // namespace tavrin
