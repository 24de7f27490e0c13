#include "ui/main_window.h"

#include <sys/resource.h>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "base/paths.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "services/curve_commands.h"
#include "services/curve_editing.h"
#include "settings/field_ranges.h"
#include "ui/about_window.h"
#include "ui/animation_points_window.h"
#include "ui/animation_window.h"
#include "ui/background_image_window.h"
#include "ui/canvas_layout.h"
#include "ui/canvas_view.h"
#include "ui/colors_window.h"
#include "ui/cursors.h"
#include "ui/dialogs.h"
#include "ui/dimensions_window.h"
#include "ui/function_window.h"
#include "ui/main_window_host.h"
#include "ui/numeric_field.h"
#include "ui/opacity_window.h"
#include "ui/path_window.h"
#include "ui/points_window.h"
#include "ui/source_image_window.h"
#include "ui/status_panel.h"
#include "ui/values_window.h"

namespace quorl {

namespace {
// A drawing run may take minutes; the desktop stays responsive.
void LowerProcessPriority() {
  errno = 0;
  const int current = getpriority(PRIO_PROCESS, 0);
  if (errno == 0 && current < 5) setpriority(PRIO_PROCESS, 0, 5);
}
}  // namespace

MainWindow::MainWindow()
    : state_(std::make_unique<ProgramState>()), params_(state_->params), layout_(state_->layout) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Quorl236"));

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  ScrollBox1_ = new QScrollArea(central);
  ScrollBox1_->setObjectName(QStringLiteral("ScrollBox1"));
  ScrollBox1_->setFrameShape(QFrame::NoFrame);
  ScrollBox1_->setWidgetResizable(false);
  canvas_holder_ = new QWidget;
  Image1_ = new CanvasView(canvas_holder_);
  ScrollBox1_->setWidget(canvas_holder_);
  ScrollBox1_->installEventFilter(this);
  layout->addWidget(ScrollBox1_, 1);
  Panel2_ = new StatusPanel(central);
  layout->addWidget(Panel2_);
  auto* CheckBox1 = new QCheckBox(central);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox1->hide();
  setCentralWidget(central);

  host_ = std::make_unique<MainWindowHost>(*this);
  run_ = std::make_unique<DrawingRun>(*state_, *host_);
  run_->WriteSettings = [this] { WriteOwnSettings(); };
  // A zero timer fires once the events that are waiting have been handled.
  step_timer_ = new QTimer(this);
  step_timer_->setInterval(0);
  connect(step_timer_, &QTimer::timeout, this, &MainWindow::RunNextStep);

  CreateCurveEditing();
  BuildMenus();
  resize(kInitialWidth, kInitialHeight);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(kInitialWidth / 2, kInitialHeight / 2));
  }
  FormCreate();
  CreateToolWindows();
}

MainWindow::~MainWindow() {
  // These windows hold on to the curve editing and the run, which go before
  // the child widgets would.
  if (animation_) animation_->AbandonSeries();
  delete animation_points_;
  delete animation_;
  delete path_;
  delete points_;
  BindFieldSwitches(nullptr);
}

ParameterSet& MainWindow::Parameters() {
  return params_;
}

void MainWindow::FormCreate() {
  RegisterCursors();
  zoom_to_fit_ = false;
  zoom_factor_ = 1.0;
  forms_ready_ = false;
  LowerProcessPriority();
  state_->random = SeededRandom(SeedFromClock());
  BindFieldSwitches(&params_);

  params_.CurrentStyle = ReadIniCurrentStyle(std::string());
  ApplyReadOutcome(ReadSettings(params_.CurrentStyle, std::string()));

  std::string error;
  if (state_->canvas.SetImageDimensions(state_->params, &error)) {
    state_->canvas.MakePictureBlack(state_->params, state_->background, host_.get());
  } else {
    ShowMessage(QStringLiteral("FormCreate: ") + QString::fromStdString(error));
  }
  forms_ready_ = true;
  FormResize();
  ShowStatus(QStringLiteral("Hello"));
}

void MainWindow::CreateToolWindows() {
  // Filling the Points window clears the status line; the start's "Hello"
  // stays up.
  const QString greeting = StatusText();
  opacity_ = new OpacityWindow(*state_, this);
  dimensions_ = new DimensionsWindow(*state_, *this, this);
  values_ = new ValuesWindow(params_, this);
  colors_ = new ColorsWindow(*state_, *this, this);
  function_ = new FunctionWindow(*this, this);
  points_ = new PointsWindow(*curve_session_, *curve_commands_, this);
  source_image_ = new SourceImageWindow(*state_, *this, this);
  path_ = new PathWindow(*curve_session_, this);
  animation_ = new AnimationWindow(*state_, *run_, *host_, this);
  about_ = new AboutWindow(this);
  background_image_ = new BackgroundImageWindow(*state_, *this, dimensions_, this);
  animation_points_ = new AnimationPointsWindow(*curve_session_, this);
  ApplyLayout();
  ConnectCurveWindows();
  ShowStatus(greeting);
}

void MainWindow::ResetCanvas() {
  state_->canvas.MakePictureBlack(params_, state_->background, host_.get());
}

// --- status line

void MainWindow::ShowStatus(const QString& message) {
  Panel2_->ShowStatus(message);
}

QString MainWindow::StatusText() const {
  return Panel2_->Message();
}

void MainWindow::SetupProgressBar(int maximum) {
  progress_maximum_ = maximum;
  run_started_ms_ = QDateTime::currentMSecsSinceEpoch();
  Panel2_->SetupProgressBar(maximum);
}

void MainWindow::ShowProgress(int position) {
  Panel2_->SetProgressPosition(position);
  ShowTimeLeft(position);
}

void MainWindow::ShowMessage(const QString& text) {
  CurrentDialogs().ShowMessage(this, text);
}

// --- canvas

QImage MainWindow::CanvasPictureCopy() const {
  const Picture24& bitmap = state_->canvas.Bitmap();
  if (bitmap.Empty()) return QImage();
  return QImage(bitmap.Bytes().data(), bitmap.Width(), bitmap.Height(),
                static_cast<qsizetype>(bitmap.Stride()), QImage::Format_BGR888)
      .copy();
}

void MainWindow::ShowCanvasPicture(const QImage& picture) {
  const bool resized = picture.size() != Image1_->Picture().size();
  Image1_->SetPicture(picture);
  if (resized || zoom_to_fit_) FormResize();
}

void MainWindow::FormResize() {
  const QSize picture = Image1_->Picture().size();
  const CanvasLayout layout = LayOutCanvas(zoom_to_fit_, kZoomMargin, picture.width(), picture.height(),
                                           ScrollBox1_->width(), ScrollBox1_->height());
  zoom_factor_ = layout.ZoomFactor;
  Image1_->SetZoomFactor(zoom_factor_);
  QScrollBar* horizontal = ScrollBox1_->horizontalScrollBar();
  QScrollBar* vertical = ScrollBox1_->verticalScrollBar();
  const int h = horizontal->value();
  const int v = vertical->value();
  horizontal->setValue(0);
  vertical->setValue(0);
  Image1_->setGeometry(layout.left, layout.top, layout.width, layout.height);
  canvas_holder_->resize(layout.left + layout.width, layout.top + layout.height);
  horizontal->setValue(h);
  vertical->setValue(v);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ScrollBox1_ && event->type() == QEvent::Resize) FormResize();
  return QMainWindow::eventFilter(watched, event);
}

// --- settings

ScreenSize MainWindow::Screen() const {
  ScreenSize size;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    size.width = screen->size().width();
    size.height = screen->size().height();
  }
  return size;
}

ReadIniOutcome MainWindow::ReadSettings(const std::string& style, const std::string& file) {
  const ReadIniOutcome outcome = ReadIniFile(params_, layout_, style, file, Screen());
  // Once, here: the tool windows only show the values.
  KeepInFieldRanges(params_, function_ ? function_->LissaDeltaMin() : kLissaDeltaMinAtStart);
  return outcome;
}

void MainWindow::ApplyReadOutcome(const ReadIniOutcome& outcome) {
  Action("Snapvaluesback1")->setEnabled(params_.UseMouseToChangeValues);
  if (outcome.maximized) showMaximized();
  Action("Usewobble1")->setChecked(params_.Wobble);
  Action("Snapvaluesback1")->setChecked(params_.SnapValuesBack);
  Action("Usemousetochangevalues1")->setChecked(params_.UseMouseToChangeValues);
  Action("Moverotationcenterbetweenpoints1")->setChecked(params_.MoveRotation);
  Action("Keepsettingsinsidesavedpictures1")->setChecked(params_.KeepSettingsInPictures);
  if (forms_ready_) RefreshToolWindows();
}

void MainWindow::RefreshToolWindows() {
  // The order in which a settings read refills them; the Background Image
  // window is not refilled.
  if (opacity_) opacity_->Init();
  if (dimensions_) dimensions_->Init();
  if (values_) values_->Init();
  if (colors_) colors_->Init();
  if (function_) function_->Init();
  if (points_) {
    const int slot = SelectedCurveSlot();
    points_->Init();
    SelectCurveSlot(slot);
  }
  if (source_image_) source_image_->Init();
  if (path_) path_->Init();
  if (animation_) animation_->Init();
}

void MainWindow::ApplyLayout() {
  opacity_->ApplyStoredGeometry(layout_, OpacityWindow::kGeometry);
  dimensions_->ApplyStoredGeometry(layout_, DimensionsWindow::kGeometry);
  values_->ApplyStoredGeometry(layout_, ValuesWindow::kGeometry);
  colors_->ApplyStoredGeometry(layout_, ColorsWindow::kGeometry);
  function_->ApplyStoredGeometry(layout_, FunctionWindow::kGeometry);
  points_->ApplyStoredGeometry(layout_, PointsWindow::kGeometry);
  source_image_->ApplyStoredGeometry(layout_, SourceImageWindow::kGeometry);
  path_->ApplyStoredGeometry(layout_, PathWindow::kGeometry);
  animation_->ApplyStoredGeometry(layout_, AnimationWindow::kGeometry);
  background_image_->ApplyStoredGeometry(layout_, BackgroundImageWindow::kGeometry);
}

void MainWindow::CollectGeometry() {
  if (opacity_) opacity_->StoreGeometry(layout_, OpacityWindow::kGeometry);
  if (dimensions_) dimensions_->StoreGeometry(layout_, DimensionsWindow::kGeometry);
  if (values_) values_->StoreGeometry(layout_, ValuesWindow::kGeometry);
  if (colors_) colors_->StoreGeometry(layout_, ColorsWindow::kGeometry);
  if (function_) function_->StoreGeometry(layout_, FunctionWindow::kGeometry);
  if (source_image_) source_image_->StoreGeometry(layout_, SourceImageWindow::kGeometry);
  if (background_image_) background_image_->StoreGeometry(layout_, BackgroundImageWindow::kGeometry);
  if (points_) points_->StoreGeometry(layout_, PointsWindow::kGeometry);
  if (path_) path_->StoreGeometry(layout_, PathWindow::kGeometry);
  if (animation_) animation_->StoreGeometry(layout_, AnimationWindow::kGeometry);
  // Once a file has said "maximized" it keeps saying so.
  if (isMaximized()) layout_.QuorlMaximized = true;
}

void MainWindow::WriteOwnSettings() {
  CollectGeometry();
  std::string message;
  if (!WriteIniFile(params_, layout_, params_.CurrentStyle, std::string(), &message))
    host_->ShowMessage(message);
}

void MainWindow::StyleChanger(const std::string& style) {
  WriteOwnSettings();
  params_.CurrentStyle = style;
  ApplyReadOutcome(ReadSettings(style, std::string()));
  std::string message;
  if (!WriteIniCurrentStyle(style, &message)) ShowMessage(QString::fromStdString(message));
}

// --- exit

void MainWindow::Exit() {
  if (ending_) return;
  if (!FolderExists(layout_.SaveDir)) layout_.SaveDir = DefaultPictureFolder();
  if (RunInProgress()) {
    // The run does not finish: no further step is taken, no frame saved.
    state_->flags.StopRequested = true;
    step_timer_->stop();
    stepping_ = false;
    if (animation_) animation_->AbandonSeries();
    state_->flags.IsDrawing = false;
    host_->EndRun();
    EnableAnimationStart(true);
    SetDrawCommandsEnabled(true);
  }
  WriteOwnSettings();
  ShowStatus(QStringLiteral("Exiting"));
  ending_ = true;
  emit ProgramEnding();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!ending_) Exit();
  event->accept();
}

}  // namespace quorl
