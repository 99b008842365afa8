// The settings file and the handlers that save it after every change of a setting and then
// apply it again.

#include <limits>

#include "app/ComboBoxSelection.h"
#include "app/DialPictures.h"
#include "app/FileSystem.h"
#include "app/Form1.h"
#include "app/JpegPicture.h"
#include "app/MessageBoxes.h"
#include "app/SettingsFile.h"
#include "widgets/NumberConversion.h"

namespace {

constexpr const char* kAzimuthPicture = "Windrose_AZ.jpg";
constexpr const char* kElevationPicture = "Windrose_EL.jpg";

std::string textOf(const QComboBox* box) { return box->currentText().toStdString(); }

// Shows the picture of the dial kind, and names the dial by the word the picture carries. A
// picture that cannot be loaded raises and leaves picture and name as they were.
void loadDialPicture(DialImage* dial, bool elevation) {
  dial->SetPicture(LoadJpegPicture(elevation ? kElevationPicture : kAzimuthPicture));
  dial->setAccessibleName(elevation ? kElevationCaption : kAzimuthCaption);
}

// A park field's value as the settings keep it: truncated toward zero, and refused rather
// than cut when it does not fit.
int32_t wholeDegrees(TKtNumEdit* field) {
  const int64_t value = field->IntValue();
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    throw EConvertError("'" + field->text().toStdString() + "' is not a valid integer value");
  }
  return static_cast<int32_t>(value);
}

}  // namespace

void TForm1::LoadSettings() {
  ChangeDirectory(StartDir);
  ReadSettingsFile(kSettingsFileName, Settings, [this](int line) { applySettingsLine(line); });
  ApplyAxisConfiguration();
  // The port takes the low 16 bits; it reopens itself when the number changes while open.
  SioComPort1.SetComNumber(static_cast<uint16_t>(Settings.ComNumber));
}

void TForm1::applySettingsLine(int line) {
  switch (line) {
    case LinePark1:
      KtNumEdit3->SetValue(Settings.Park1);
      break;
    case LinePark2:
      KtNumEdit4->SetValue(Settings.Park2);
      break;
    case LineAxisConfig:
      SelectItemSilently(ComboBox4, Settings.AxisConfig);
      break;
    case LineWindowLeft:
      move(Settings.WindowLeft, y());
      break;
    case LineWindowTop:
      move(x(), Settings.WindowTop);
      break;
    default:
      break;
  }
}

void TForm1::ApplyAxisConfiguration() {
  const int config = ComboBox4->currentIndex();
  const bool two = config >= 2;
  for (QWidget* control : {static_cast<QWidget*>(Image2), static_cast<QWidget*>(Label7),
                           static_cast<QWidget*>(GroupBox4), static_cast<QWidget*>(GroupBox5)}) {
    control->setVisible(two);
  }
  loadDialPicture(Image1, config == 1);
  if (two) loadDialPicture(Image2, config == 2);
  // The pointers stay over the new pictures, drawn for the dial kinds of this configuration.
  if (reportAccepted_) DrawDialPointers(Position1(), ReadPosition2());
}

void TForm1::SaveSettings() { WriteSettingsFile(kSettingsFileName, Settings); }

TSettings TForm1::refreshedSettings(SettingsRefresh sources) const {
  TSettings refreshed = Settings;
  refreshed.ComNumber = StrToInt(textOf(ComboBox1));
  if (sources.Language) refreshed.Language = textOf(ComboBox2);
  if (sources.PollRate) refreshed.PollRate = StrToInt(textOf(ComboBox3));
  refreshed.Park1 = wholeDegrees(KtNumEdit3);
  refreshed.Park2 = wholeDegrees(KtNumEdit4);
  refreshed.WindowLeft = x();
  refreshed.WindowTop = y();
  return refreshed;
}

void TForm1::saveRefreshed(const TSettings& refreshed) {
  Settings = refreshed;
  SaveSettings();
}

QString TForm1::langText(size_t entry) const { return QString::fromStdString(LangTable[entry]); }

void TForm1::rejectInput(QComboBox* box, int fallbackItem) {
  ShowProgramError(langText(EntryInvalidInput) + " \"" + box->currentText() + "\" !");
  SelectItemSilently(box, fallbackItem);
}

bool TForm1::validateNumber(QComboBox* box) {
  try {
    StrToInt(textOf(box));
    return true;
  } catch (const EConvertError&) {
    rejectInput(box, 0);
    return false;
  }
}

void TForm1::ComboBox1Change() {
  if (!validateNumber(ComboBox1)) return;
  // The operator's choice, whatever it is, ends the retrying of a lost port.
  stopReopening();
  SioComPort1.SetOpen(false);
  saveRefreshed(refreshedSettings({.Language = false}));
  LoadSettings();
  openPort();
}

void TForm1::ComboBox2Change() {
  const QString code = ComboBox2->currentText();
  if (!LanguageItems.contains(code)) {
    rejectInput(ComboBox2, 0);
    return;
  }
  saveRefreshed(refreshedSettings());
  LoadSettings();
  LoadLanguage();
}

void TForm1::ComboBox3Change() {
  if (!validateNumber(ComboBox3)) return;
  const TSettings refreshed = refreshedSettings();
  Timer1->SetInterval(refreshed.PollRate);
  saveRefreshed(refreshed);
  LoadSettings();
}

void TForm1::ComboBox4Change() {
  Settings.AxisConfig = ComboBox4->currentIndex();
  const TSettings refreshed = refreshedSettings({.PollRate = false});
  Timer1->SetInterval(refreshed.PollRate);
  saveRefreshed(refreshed);
  LoadSettings();
}

void TForm1::KtNumEdit3Exit() {
  const TSettings refreshed = refreshedSettings();
  Timer1->SetInterval(refreshed.PollRate);
  saveRefreshed(refreshed);
  LoadSettings();
}

void TForm1::KtNumEdit4Exit() { KtNumEdit3Exit(); }
