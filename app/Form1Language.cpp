// The language file's texts on the window.

#include "app/FileSystem.h"
#include "app/Form1.h"
#include "app/MessageBoxes.h"

void TForm1::LoadLanguage() {
  ChangeDirectory(StartDir);
  if (!FileExists(kLanguageFileName)) {
    ShowProgramError(QStringLiteral("Language-file \"%1\" not found !").arg(kLanguageFileName));
    return;
  }
  ReadLanguageFile(kLanguageFileName, Settings.Language, LangTable);

  Label2->setText(langText(EntryLanguageLabel));
  Label2->resize(Label2->sizeHint().width(), Label2->height());
  Button1->setText(langText(EntryExitButton));
  const QString manual = langText(EntryManualGroups);
  GroupBox3->setTitle(manual + " 1");
  GroupBox5->setTitle(manual + " 2");
  GroupBox4->setTitle(manual + " 1+2");
  const QString parking = langText(EntryParkingHint);
  KtNumEdit3->setToolTip(parking + " 1");
  KtNumEdit4->setToolTip(parking + " 2");
  // The hints are the fields' only labels: screen readers read them as their names.
  KtNumEdit3->setAccessibleName(KtNumEdit3->toolTip());
  KtNumEdit4->setAccessibleName(KtNumEdit4->toolTip());
}
