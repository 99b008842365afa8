// What screen readers read on the window: captions, texts, titles and the fields' labels, as
// Qt's accessibility interfaces hand them to the accessibility bus, following the language
// file, the axis configuration and the controller's reports.

#include <QAccessible>
#include <QTest>

#include <map>
#include <memory>

#include "tests/app/PanelFixture.h"
#include "tests/app/PanelInput.h"
#include "tests/tools/SimulatorProcess.h"
#include "tests/tools/TestPatience.h"

namespace {

class WindowAccessibility : public PanelTest {
 protected:
  std::unique_ptr<TForm1> startWith(const std::string& language, int config,
                                    const std::string& pollRate = "5000") {
    CopyLanguageFile();
    WriteSettings({"1", language, pollRate, "10", "0", "0", std::to_string(config), "50", "50"});
    return StartPanel();
  }
};

QString nameOf(QObject* control) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
  return accessible != nullptr ? accessible->text(QAccessible::Name) : QStringLiteral("(none)");
}

// The accessible names of the named controls of form.
std::map<std::string, QString> namesOf(TForm1& form, const std::vector<const char*>& controls) {
  std::map<std::string, QString> names;
  for (const char* control : controls) {
    names[control] =
        nameOf(control == std::string("Form1") ? &form : form.findChild<QWidget*>(control));
  }
  return names;
}

TEST_F(WindowAccessibility, EveryControlReadsItsCaptionTextOrLabel) {
  const auto form = startWith("EN", 2);
  const std::map<std::string, QString> expected = {
      {"Form1", "Azimara M V1.7"},
      {"GroupBox2", "Configuration (GS232B 9600 Baud)"},
      {"Label1", "Comport"},
      {"Label2", "Language"},
      {"Label13", "Pollrate"},
      {"Label3", "Axis"},
      {"Button1", "Exit"},
      {"GroupBox3", "Manual 1"},
      {"GroupBox4", "Manual 1+2"},
      {"GroupBox5", "Manual 2"},
      {"Button9", "|<<"},
      {"Button5", "STOP 1"},
      {"Button2", "GO 1"},
      {"Button8", "PARK 1"},
      {"Button3", "GO 2"},
      {"Button10", "PARK 1+2"},
      {"KtNumEdit1", "Position 1"},
      {"KtNumEdit2", "Position 2"},
      {"KtNumEdit3", "Parking Position 1"},
      {"KtNumEdit4", "Parking Position 2"},
      {"Label6", "0"},
      {"Label7", "0"},
      {"Image1", "AZIMUTH"},
      {"Image2", "ELEVATION"},
  };
  std::vector<const char*> controls;
  for (const auto& [name, text] : expected) controls.push_back(name.c_str());
  EXPECT_EQ(namesOf(*form, controls), expected);
}

TEST_F(WindowAccessibility, EachSelectorIsLabelledByTheLabelBesideIt) {
  const auto form = startWith("EN", 2);
  const std::vector<std::pair<QComboBox*, QLabel*>> pairs = {{form->ComboBox1, form->Label1},
                                                             {form->ComboBox2, form->Label2},
                                                             {form->ComboBox3, form->Label13},
                                                             {form->ComboBox4, form->Label3}};
  for (const auto& [box, label] : pairs) {
    SCOPED_TRACE(box->objectName().toStdString());
    // Qt names the group box around it too.
    std::vector<QObject*> labels;
    for (const auto& [labelling, relation] :
         QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label)) {
      labels.push_back(labelling->object());
    }
    EXPECT_EQ(labels, (std::vector<QObject*>{label, form->GroupBox2}));
  }
}

TEST_F(WindowAccessibility, TheNamesFollowTheLanguageFile) {
  const auto form = startWith("EN", 2);
  PickItem(form->ComboBox2, 1);  // DE
  const std::map<std::string, QString> german = {
      {"Label2", "Sprache"},           {"Button1", "Ende"},     {"GroupBox3", "Hand 1"},
      {"GroupBox4", "Hand 1+2"},       {"GroupBox5", "Hand 2"}, {"KtNumEdit3", "Parkposition 1"},
      {"KtNumEdit4", "Parkposition 2"}};
  EXPECT_EQ(namesOf(*form, {"Label2", "Button1", "GroupBox3", "GroupBox4", "GroupBox5",
                            "KtNumEdit3", "KtNumEdit4"}),
            german);
}

TEST_F(WindowAccessibility, EachDialIsNamedByTheWordOfItsPicture) {
  const auto form = startWith("EN", 1);
  EXPECT_EQ(nameOf(form->Image1), "ELEVATION");
  PickItem(form->ComboBox4, 3);
  EXPECT_EQ(nameOf(form->Image1), "AZIMUTH");
  EXPECT_EQ(nameOf(form->Image2), "AZIMUTH");
  PickItem(form->ComboBox4, 2);
  EXPECT_EQ(nameOf(form->Image2), "ELEVATION");
}

TEST_F(WindowAccessibility, TheReadOutsReadTheReportedPositions) {
  const SimulatorProcess simulator({"--link", Path("COM1"), "--az", "123", "--el", "45"});
  const auto form = startWith("EN", 2, "500");
  ASSERT_TRUE(form->SioComPort1.Open());
  EXPECT_TRUE(QTest::qWaitFor([&] { return nameOf(form->Label6) == "123°"; },
                              static_cast<int>(kPatience.count())))
      << nameOf(form->Label6).toStdString();
  EXPECT_EQ(nameOf(form->Label7), "45°");
}

TEST_F(WindowAccessibility, AnOldReadOutKeepsItsNameAndSaysSinceWhenInItsDescription) {
  const SimulatorProcess simulator({"--link", Path("COM1"), "--silent"});
  const auto form = startWith("EN", 2, "500");
  ASSERT_TRUE(form->SioComPort1.Open());
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->PositionsStale(); },
                              static_cast<int>(kPatience.count())));
  for (QLabel* readOut : {form->Label6, form->Label7}) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(readOut);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), "0");
    EXPECT_TRUE(accessible->text(QAccessible::Description)
                    .startsWith("no answer from the controller since "))
        << accessible->text(QAccessible::Description).toStdString();
  }
}

}  // namespace
