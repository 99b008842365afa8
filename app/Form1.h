#pragma once
// TForm1, the panel's one window: the configuration group, the two dials with their position
// read-outs, the manual groups and the echo memo. It owns the program-wide state (settings,
// language texts) and runs the handlers of all its controls on the GUI thread.
//
// Handlers are public and raise their errors, as the operator's events would hand them to the
// application; the connections from Qt's signals show such errors in the standard error box
// (RunReportingErrors), so no exception ever crosses Qt's event loop.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTime>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "app/ClientAreaFitter.h"
#include "app/DialImage.h"
#include "app/EchoMemo.h"
#include "app/IntervalTimer.h"
#include "app/LanguageFile.h"
#include "app/PositionLog.h"
#include "app/Settings.h"
#include "protocol/CommandBuffer.h"
#include "protocol/CommandSet.h"
#include "protocol/ReplyParser.h"
#include "protocol/ReportFreshness.h"
#include "serial/SioComPort.h"
#include "serial/net/ServerProbe.h"
#include "widgets/KtNumEdit.h"

// Which settings a save takes from their boxes rather than from memory.
struct SettingsRefresh {
  bool Language = true;
  bool PollRate = true;
};

class RemoteControl;

class TForm1 : public QWidget {
 public:
  // Builds the window with its design values and runs FormCreate: the window is shown, the
  // settings file and language file are applied, the port is opened and polling starts. The
  // start-up directory is the current directory at this moment.
  TForm1();
  // Runs FormDestroy, which saves the settings, and closes the port.
  ~TForm1() override;

  // The four axis configuration items of ComboBox4, by index.
  static const QStringList AxisConfigurationItems;
  // The language codes of ComboBox2, the only ones the settings file may hold.
  static const QStringList LanguageItems;

  // Controls, with their form names as object names; their accessible names are what a person
  // reads on them.
  DialImage* Image2;
  QLabel* Label7;
  DialImage* Image1;
  QLabel* Label6;
  QGroupBox* GroupBox2;
  QGroupBox* GroupBox3;
  QGroupBox* GroupBox4;
  QGroupBox* GroupBox5;
  QPlainTextEdit* Memo1;
  QLabel* Label2;
  QComboBox* ComboBox2;
  QPushButton* Button1;
  QLabel* Label1;
  QComboBox* ComboBox1;
  QLabel* Label13;
  QComboBox* ComboBox3;
  QLabel* Label3;
  QComboBox* ComboBox4;
  QPushButton* Button9;
  QPushButton* Button5;
  QPushButton* Button11;
  TKtNumEdit* KtNumEdit1;
  QPushButton* Button2;
  TKtNumEdit* KtNumEdit3;
  QPushButton* Button8;
  QPushButton* Button12;
  QPushButton* Button7;
  QPushButton* Button13;
  QPushButton* Button3;
  TKtNumEdit* KtNumEdit2;
  TKtNumEdit* KtNumEdit4;
  QPushButton* Button14;
  QPushButton* Button6;
  QPushButton* Button4;
  QPushButton* Button10;
  IntervalTimer* Timer1;
  TSioComPort SioComPort1;

  // Program-wide state.
  std::string StartDir;
  TSettings Settings;
  LanguageTexts LangTable;
  // Open only in the diagnostic build.
  PositionLog PositionLogFile;
  // The command or poll query being sent.
  CommandBuffer CmdBuf{};
  // Last positions of axis 1 and axis 2 the controller reported, degrees.
  int32_t Position1() const { return replies_.Position1(); }
  int32_t Position2() const { return replies_.Position2(); }
  // Position2 once a report held axis 2; nothing before.
  std::optional<int32_t> ReadPosition2() const {
    return replies_.Position2Read() ? std::optional<int32_t>(Position2()) : std::nullopt;
  }
  // When the controller last sent a report that was accepted.
  const ReportFreshness& Freshness() const { return freshness_; }
  // Whether the read-outs and hands show old positions: no report accepted for three poll
  // intervals, or the port's device went away. Only the next accepted report ends it.
  bool PositionsStale() const { return staleShown_; }
  // The port's device went away and the panel tries to open the same port again, once a
  // reopen interval, until it opens or the operator chooses a port.
  bool PortLost() const { return portLost_; }
  // How often a lost port is tried again; 1 s unless a test makes it shorter.
  void SetReopenInterval(std::chrono::milliseconds interval);
  // When Timer1Timer last sent (or tried to send) a poll query.
  std::chrono::steady_clock::time_point LastPollTime() const { return lastPoll_; }

  // Memo1's lines: one per read of the controller's bytes.
  EchoMemo& Echoes() const { return *echo_; }

  // The rotctld-protocol server and its dialog; null while the window is being created.
  RemoteControl* Remote() const { return remote_.get(); }
  // The window's context menu while it is shown: "Remote control...".
  QMenu* ContextMenu() const { return contextMenu_; }

  // Start-up and shutdown.
  void FormCreate();
  void Button1Click();
  void FormClose();
  void FormDestroy();

  // Settings: read the file and apply it / write the current values.
  void LoadSettings();
  void SaveSettings();
  void ApplyAxisConfiguration();
  void ComboBox1Change();
  void ComboBox2Change();
  void ComboBox3Change();
  void ComboBox4Change();
  void KtNumEdit3Exit();
  void KtNumEdit4Exit();

  // Language: read the texts of the current language and apply them.
  void LoadLanguage();

  // Commands: each pauses polling while it is built and sent.
  void GoAxis1();
  void GoAxis2();
  void GoBoth();
  void SendCommand(size_t n);
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void Button6Click();
  void Button7Click();
  void Button8Click();
  void Button9Click();
  void Button10Click();
  void Button11Click();
  void Button12Click();
  void Button13Click();
  void Button14Click();

  // Polling and the controller's replies.
  void Timer1Timer();
  void SioComPort1TriggerAvail(TSioCustomComPort* CP, uint16_t Count);
  // The port's device went away (the port has closed itself): the positions are marked old
  // and the port is tried again by itself, without a message.
  void SioComPort1PortLost(TSioCustomComPort* Sender);

  // The position pointers over the dials, kept until the next report. Without position2 the
  // right dial is left as it is.
  void DrawDialPointers(int32_t position1, std::optional<int32_t> position2);

  // Pointing at a dial: every move sets the axis's target, a click sends it.
  void Image1MouseMove(int X, int Y);
  void Image2MouseMove(int X, int Y);
  void Image1Click();
  void Image2Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void createControls();
  void createConfigurationGroup();
  void createManualGroup1();
  void createManualGroup2();
  void createManualGroupBoth();
  void setTabOrder();
  void connectEvents();
  // Opens the port; when that fails, says so and leaves polling stopped.
  void openPort();
  // Polling begins on an open port: the wait for an answer starts now.
  void startPolling();

  // Marks the read-outs and hands old or current, as the reports' freshness and the port say,
  // and sets the stale timer for the moment they go old.
  void followFreshness();
  void showFreshness(bool stale);
  QString staleHint() const;
  // One try to open the lost port again; polling resumes at once when it opens.
  void tryReopen();
  // Whether this try waits for the lost port's server instead of opening: once an open has
  // waited out most of its time-out, the server is probed on a thread of its own until it
  // answers, and only the try after that opens, so the window is not held at every try.
  bool awaitingServer();
  // The operator's own choice (or the end) ends the retrying.
  void stopReopening();

  void applySettingsLine(int line);
  // The stored settings with the port number, the park positions, the window position and
  // the fields sources names taken from the controls. Raises EConvertError for a box or park
  // field that holds no whole number.
  TSettings refreshedSettings(SettingsRefresh sources = {}) const;
  void saveRefreshed(const TSettings& refreshed);
  bool validateNumber(QComboBox* box);
  void rejectInput(QComboBox* box, int fallbackItem);
  QString langText(size_t entry) const;

  void runCommand(RotatorCommand command);
  int64_t targetValue(int axis);
  void logPositions(int32_t position1, int32_t position2);

  EchoMemo* echo_ = nullptr;
  ReplyParser replies_;
  ReportFreshness freshness_;
  std::chrono::steady_clock::time_point lastPoll_{};
  // Whether a report has been accepted since start-up, so the pointers have positions to show.
  bool reportAccepted_ = false;
  // The wall-clock time of the last accepted report, or of the start of polling before one.
  QTime lastAnswer_;
  bool staleShown_ = false;
  QString hintShown_;
  bool portLost_ = false;
  std::chrono::milliseconds reopenInterval_{1000};
  // The lost port's server let an open wait; probed until it answers.
  bool serverSilent_ = false;
  std::unique_ptr<ServerProbe> serverProbe_;
  QTimer* staleTimer_ = nullptr;
  QTimer* reopenTimer_ = nullptr;

  ClientAreaFitter* fitter_ = nullptr;
  QMenu* contextMenu_ = nullptr;
  std::unique_ptr<RemoteControl> remote_;
};
