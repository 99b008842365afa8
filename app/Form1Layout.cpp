// The window's controls with their design values: names, places, sizes, texts, hints, fonts,
// colours, items and tab order.

#include <QFont>
#include <QPalette>

#include "app/DialPictures.h"
#include "app/Form1.h"
#include "app/ReadOutColours.h"
#include "app/WindowIcon.h"

namespace {

// The window font: "MS Sans Serif" where it exists, another sans-serif face elsewhere, 11 px,
// narrow where the system has a narrow face, as the captions were measured in a narrow font.
QFont windowFont() {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Sans Serif")});
  font.setStyleHint(QFont::SansSerif);
  font.setStretch(QFont::Condensed);
  font.setPixelSize(11);
  return font;
}

// Gives widget its form name. Its accessible name stays what a person reads there (caption,
// text, title), which Qt takes and follows by itself.
template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// A label showing its text as it is: a language text that looks like markup stays text.
QLabel* plainLabel(const QString& text, QWidget* parent, const char* name) {
  auto* label = named(new QLabel(text, parent), name);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  QLabel* label = plainLabel(text, parent, name);
  label->setGeometry(geometry);
  return label;
}

// A label that takes the width of its text, wherever the font makes it wider or narrower.
QLabel* autoSizeLabel(QWidget* parent, const char* name, const QString& text, QPoint place) {
  QLabel* label = plainLabel(text, parent, name);
  label->move(place);
  label->resize(label->sizeHint().width(), 13);
  return label;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& hint,
                    QRect geometry) {
  auto* button = named(new QPushButton(caption, parent), name);
  button->setGeometry(geometry);
  button->setToolTip(hint);
  return button;
}

// An editable drop-down box. Typed text is never added to the list and never completed.
QComboBox* comboBox(QWidget* parent, const char* name, const QStringList& items,
                    const QString& text, const QString& hint, QRect geometry) {
  auto* box = named(new QComboBox(parent), name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setCompleter(nullptr);
  box->addItems(items);
  box->setCurrentIndex(-1);
  box->setEditText(text);
  box->setToolTip(hint);
  box->setGeometry(geometry);
  return box;
}

// A numeric field; its hint is its only label, so it is also the name screen readers read.
TKtNumEdit* numEdit(QWidget* parent, const char* name, const QString& hint, QRect geometry) {
  auto* edit = named(new TKtNumEdit(parent), name);
  edit->setGeometry(geometry);
  edit->setToolTip(hint);
  edit->setAccessibleName(hint);
  return edit;
}

TKtNumEdit* positionEdit(QWidget* parent, const char* name, const QString& hint, QRect geometry) {
  TKtNumEdit* edit = numEdit(parent, name, hint, geometry);
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Text, Qt::red);
  edit->setPalette(palette);
  return edit;
}

TKtNumEdit* parkEdit(QWidget* parent, const char* name, const QString& hint, QRect geometry,
                     long double maxValue) {
  TKtNumEdit* edit = numEdit(parent, name, hint, geometry);
  edit->SetMaxValue(maxValue);
  return edit;
}

// A position read-out: large bold green digits on the window colour, sized to its text.
QLabel* positionLabel(QWidget* parent, const char* name, QPoint place) {
  QLabel* label = plainLabel(QStringLiteral("0"), parent, name);
  QFont font = windowFont();
  font.setPixelSize(16);
  font.setBold(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, PositionGreen());
  label->setPalette(palette);
  label->setAutoFillBackground(true);
  label->move(place);
  label->adjustSize();
  return label;
}

DialImage* dial(QWidget* parent, const char* name, const QImage& picture, const char* caption,
                QPoint place) {
  auto* image = named(new DialImage(parent), name);
  image->move(place);
  image->SetPicture(picture);
  image->setAccessibleName(QString::fromLatin1(caption));
  image->setToolTip(QStringLiteral("Click any position to move"));
  return image;
}

QGroupBox* groupBox(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
  auto* group = named(new QGroupBox(caption, parent), name);
  group->setGeometry(geometry);
  return group;
}

}  // namespace

const QStringList TForm1::LanguageItems = {QStringLiteral("EN"), QStringLiteral("DE"),
                                           QStringLiteral("FR")};

const QStringList TForm1::AxisConfigurationItems = {
    QStringLiteral("axis1=AZ | axis2=none"), QStringLiteral("axis1=EL | axis2=none"),
    QStringLiteral("axis1=AZ | axis2=EL"), QStringLiteral("axis1=AZ | axis2=AZ")};

void TForm1::createControls() {
  named(this, "Form1");
  setWindowTitle(QStringLiteral("Azimara M V1.7"));
  setWindowIcon(WindowIcon());
  setFont(windowFont());
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Button));
  setPalette(palette);
  move(195, 122);

  // Stacking order from bottom to top: each control is drawn over the ones made before it.
  Image2 = dial(this, "Image2", ElevationHalfRose(), kElevationCaption, {205, 96});
  Label7 = positionLabel(this, "Label7", {205, 96});
  Image1 = dial(this, "Image1", AzimuthRose(), kAzimuthCaption, {0, 96});
  Label6 = positionLabel(this, "Label6", {0, 96});
  GroupBox2 = groupBox(this, "GroupBox2", QStringLiteral("Configuration (GS232B 9600 Baud)"),
                       {0, 0, 201, 91});
  GroupBox3 = groupBox(this, "GroupBox3", QStringLiteral("Manual 1"), {42, 300, 116, 105});
  GroupBox4 = groupBox(this, "GroupBox4", QStringLiteral("Manual 1+2"), {162, 300, 81, 106});
  GroupBox5 = groupBox(this, "GroupBox5", QStringLiteral("Manual 2"), {247, 300, 116, 105});
  Memo1 = named(new QPlainTextEdit(QStringLiteral("Memo1"), this), "Memo1");
  Memo1->setGeometry(0, 410, 401, 89);
  // The memo gets a line per reply for as long as the program runs; the oldest lines go.
  Memo1->setMaximumBlockCount(1000);
  echo_ = new EchoMemo(Memo1);

  createConfigurationGroup();
  createManualGroup1();
  createManualGroup2();
  createManualGroupBoth();
  setTabOrder();

  Timer1 = new IntervalTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  staleTimer_ = new QTimer(this);
  staleTimer_->setSingleShot(true);
  reopenTimer_ = new QTimer(this);
  fitter_ = new ClientAreaFitter(this);
}

void TForm1::createConfigurationGroup() {
  QWidget* group = GroupBox2;
  Label2 = autoSizeLabel(group, "Label2", QStringLiteral("Language"), {5, 20});
  ComboBox2 = comboBox(group, "ComboBox2", LanguageItems, QStringLiteral("Language"),
                       QStringLiteral("DE EN FR"), {55, 15, 51, 21});
  Button1 =
      button(group, "Button1", QStringLiteral("Exit"), QStringLiteral("EXIT"), {121, 14, 75, 25});
  Label1 = autoSizeLabel(group, "Label1", QStringLiteral("Comport"), {5, 45});
  QStringList ports;
  for (int number = 1; number <= 32; ++number) ports << QString::number(number);
  ComboBox1 = comboBox(group, "ComboBox1", ports, QString(), QStringLiteral("COM1..COM32"),
                       {55, 40, 51, 21});
  Label13 = autoSizeLabel(group, "Label13", QStringLiteral("Pollrate"), {106, 45});
  ComboBox3 = comboBox(group, "ComboBox3", {"500", "1000", "2000", "5000"}, QString(),
                       QStringLiteral("Pollrate 500..5000 ms"), {145, 40, 51, 21});
  Label3 = label(group, "Label3", QStringLiteral("Axis"), {5, 70, 32, 13});
  ComboBox4 =
      comboBox(group, "ComboBox4", AxisConfigurationItems, QStringLiteral("Axis configuration"),
               QStringLiteral("AZ - EL - AZ/EL - AZ/EL"), {55, 65, 142, 21});
  // Each label names its box for screen readers.
  Label2->setBuddy(ComboBox2);
  Label1->setBuddy(ComboBox1);
  Label13->setBuddy(ComboBox3);
  Label3->setBuddy(ComboBox4);
}

void TForm1::createManualGroup1() {
  QWidget* group = GroupBox3;
  Button9 = button(group, "Button9", QStringLiteral("|<<"), QStringLiteral("CCW/DOWN 1"),
                   {5, 15, 26, 25});
  Button5 = button(group, "Button5", QStringLiteral("STOP 1"), QStringLiteral("STOP 1"),
                   {35, 15, 45, 25});
  Button11 =
      button(group, "Button11", QStringLiteral(">>|"), QStringLiteral("CW/UP 1"), {85, 15, 26, 25});
  KtNumEdit1 = positionEdit(group, "KtNumEdit1", QStringLiteral("Position 1"), {5, 48, 26, 21});
  Button2 =
      button(group, "Button2", QStringLiteral("GO 1"), QStringLiteral("GO 1"), {35, 45, 45, 25});
  KtNumEdit3 =
      parkEdit(group, "KtNumEdit3", QStringLiteral("Parking Position 1"), {5, 77, 26, 21}, 359);
  Button8 = button(group, "Button8", QStringLiteral("PARK 1"), QStringLiteral("PARK 1"),
                   {35, 75, 45, 25});
}

void TForm1::createManualGroup2() {
  QWidget* group = GroupBox5;
  Button12 = button(group, "Button12", QStringLiteral("|<<"), QStringLiteral("CCW/DWN 2"),
                    {5, 15, 26, 25});
  Button7 = button(group, "Button7", QStringLiteral("STOP 2"), QStringLiteral("STOP 2"),
                   {35, 15, 45, 25});
  Button13 =
      button(group, "Button13", QStringLiteral(">>|"), QStringLiteral("CW/UP 2"), {85, 15, 26, 25});
  Button3 =
      button(group, "Button3", QStringLiteral("GO 2"), QStringLiteral("GO 2"), {35, 45, 45, 25});
  KtNumEdit2 = positionEdit(group, "KtNumEdit2", QStringLiteral("Position 2"), {85, 48, 26, 21});
  KtNumEdit4 =
      parkEdit(group, "KtNumEdit4", QStringLiteral("Parking Position 2"), {85, 77, 26, 21}, 180);
  Button14 = button(group, "Button14", QStringLiteral("PARK 2"), QStringLiteral("PARK 2"),
                    {35, 75, 45, 25});
}

void TForm1::createManualGroupBoth() {
  QWidget* group = GroupBox4;
  Button6 = button(group, "Button6", QStringLiteral("STOP 1+2"), QStringLiteral("STOP 1+2"),
                   {5, 15, 71, 25});
  Button4 =
      button(group, "Button4", QStringLiteral("GO 1+2"), QStringLiteral("GO 1+2"), {5, 45, 71, 25});
  Button10 = button(group, "Button10", QStringLiteral("PARK 1+2"), QStringLiteral("PARK 1+2"),
                    {6, 75, 70, 25});
}

void TForm1::setTabOrder() {
  // Group by group in the groups' order, each group's controls in their own order.
  const QList<QWidget*> chain = {
      ComboBox1, ComboBox2,  ComboBox3,  Button1,    ComboBox4,  Button5,  Button9,  Button11,
      Button2,   KtNumEdit1, KtNumEdit3, Button8,    Button6,    Button4,  Button10, Button7,
      Button12,  Button13,   Button3,    KtNumEdit2, KtNumEdit4, Button14, Memo1};
  for (qsizetype i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}
