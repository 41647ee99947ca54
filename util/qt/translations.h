#pragma once
// The toolkit's own texts (standard buttons, the font and colour dialogs)
// in Japanese, as the rest of the interface is, whatever the locale.
#include <QObject>

namespace tavrin {

// Installs the toolkit's Japanese translations into the application; false
// when they are not installed on this system (the texts then stay English).
bool LoadJapaneseTranslations(QObject* application);

}  // namespace tavrin
