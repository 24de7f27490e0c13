#include "ui/main_window.h"

#include <sys/resource.h>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QDateTime>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "base/paths.h"
#include "curves/curve_slots.h"
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
#include "ui/history_controller.h"
#include "ui/main_window_host.h"
#include "ui/numeric_field.h"
#include "ui/opacity_window.h"
#include "ui/path_window.h"
#include "ui/points_window.h"
#include "ui/program_icon.h"
#include "ui/source_image_window.h"
#include "ui/status_panel.h"
#include "ui/step_worker.h"
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
  setWindowIcon(ProgramIcon());
  setAcceptDrops(true);

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
  ScrollBox1_->viewport()->installEventFilter(this);
  Image1_->installEventFilter(this);
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
  // Each Draw starts "Use random scatter?" from a seed of its own, which the
  // saved picture stores.
  run_->PickSeed = [] { return SeedFromClock(); };
  step_params_ = std::make_unique<ParameterSet>();
  step_curves_ = std::make_unique<CurveSlots>();
  worker_ = new StepWorker(
      [this] {
        if (before_step_) {
          before_step_();
          before_step_ = nullptr;
        }
        return run_->RunStep();
      },
      this);
  connect(worker_, &StepWorker::StepDone, this, &MainWindow::AfterStep);

  CreateCurveEditing();
  BuildMenus();
  resize(kInitialWidth, kInitialHeight);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(kInitialWidth / 2, kInitialHeight / 2));
  }
  FormCreate();
  CreateToolWindows();
  PlaceMainWindow();
  StartHistory();
}

void MainWindow::PlaceMainWindow() {
  const QRect remembered = window_state_.mainGeometry;
  if (remembered.isNull()) return;
  // A place on a screen that is gone is not taken.
  const QScreen* screen = QGuiApplication::screenAt(remembered.center());
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  setGeometry(QRect(remembered.topLeft(), remembered.size().boundedTo(area.size())));
}

MainWindow::~MainWindow() {
  if (history_) history_->EndCleanly();
  // The worker may be inside a step that reads the run and the state.
  delete worker_;
  worker_ = nullptr;
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

  window_state_ = ReadWindowState(ProgramSettingsFile());
  RebuildRecentMenu();
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
  BetweenSteps([this] { state_->canvas.MakePictureBlack(params_, state_->background, host_.get()); });
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

void MainWindow::ShowCanvas() {
  const Picture24& bitmap = std::as_const(state_->canvas).Bitmap();
  const RowSpan rows = state_->canvas.TakeChangedBitmapRows();
  if (bitmap.Empty() || shown_.width() != bitmap.Width() || shown_.height() != bitmap.Height()) {
    shown_ = CanvasPictureCopy();
    ShowCanvasPicture(shown_);
    return;
  }
  const QSize before = Image1_->Picture().size();
  // The view lets go of the picture first: changing rows of a shared image
  // would copy the whole of it.
  Image1_->LetGoOfPicture();
  const std::size_t row_bytes = static_cast<std::size_t>(bitmap.Width()) * 3;
  for (int y = rows.begin; y < rows.end; ++y) std::memcpy(shown_.scanLine(y), bitmap.Row(y), row_bytes);
  // Only the changed rows are painted again, unless the view showed
  // another picture (a curve, an animation frame) until now.
  if (view_shows_canvas_)
    Image1_->SetPictureRows(shown_, rows.begin, rows.end);
  else
    Image1_->SetPicture(shown_);
  view_shows_canvas_ = true;
  if (before != shown_.size() || zoom_to_fit_) FormResize();
}

void MainWindow::ShowCanvasPicture(const QImage& picture) {
  view_shows_canvas_ = &picture == &shown_;
  const bool resized = picture.size() != Image1_->Picture().size();
  Image1_->SetPicture(picture);
  if (resized || zoom_to_fit_) FormResize();
}

void MainWindow::FormResize() {
  const QSize picture = Image1_->Picture().size();
  const int box_width = ScrollBox1_->width(), box_height = ScrollBox1_->height();
  if (zoom_to_fit_) zoom_factor_ = FitFactor(picture.width(), picture.height(), box_width, box_height);
  const CanvasLayout layout =
      LayOutZoomed(zoom_factor_, picture.width(), picture.height(), box_width, box_height);
  Image1_->SetZoomFactor(zoom_factor_);
  if (curve_session_) {
    const int half = ControlHalfForZoom(zoom_factor_);
    const bool on_top = ControlSquaresOnTopAt(zoom_factor_);
    const bool resized_squares =
        half != curve_session_->ControlPointHalf || on_top != curve_session_->ControlSquaresOnTop;
    curve_session_->ControlPointHalf = half;
    curve_session_->ControlSquaresOnTop = on_top;
    // A curve on display gets squares of the new zoom's size.
    if (resized_squares && state_->canvas.MultiplierMode && curve_session_->SlotSelected())
      BetweenSteps([this] { curve_session_->SelectSlotCurve(); });
  }
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

void MainWindow::SetZoom(double factor) {
  zoom_factor_ = std::clamp(factor, kMinZoom, kMaxZoom);
}

void MainWindow::ZoomAbout(double ratio, QPoint anchor) {
  if (!(ratio > 0) || Image1_->Picture().isNull()) return;
  QScrollBar* horizontal = ScrollBox1_->horizontalScrollBar();
  QScrollBar* vertical = ScrollBox1_->verticalScrollBar();
  // The picture point under the anchor, before and after.
  const QPointF content(anchor.x() + horizontal->value(), anchor.y() + vertical->value());
  const QPointF point = (content - QPointF(Image1_->pos())) / zoom_factor_;
  zoom_to_fit_ = false;
  Action("Zoomtofit1")->setChecked(false);
  SetZoom(zoom_factor_ * ratio);
  FormResize();
  const QPointF moved = point * zoom_factor_ + QPointF(Image1_->pos());
  horizontal->setValue(static_cast<int>(std::lround(moved.x() - anchor.x())));
  vertical->setValue(static_cast<int>(std::lround(moved.y() - anchor.y())));
  ShowStatus(QStringLiteral("Zoom %1 %").arg(std::lround(zoom_factor_ * 100)));
}

void MainWindow::ZoomInOrOut(bool in) {
  QWidget* viewport = ScrollBox1_->viewport();
  QPoint anchor = viewport->mapFromGlobal(QCursor::pos());
  if (!viewport->rect().contains(anchor)) anchor = viewport->rect().center();
  ZoomAbout(in ? 1.25 : 0.8, anchor);
}

void MainWindow::ZoomToWholeView() {
  zoom_to_fit_ = true;
  Action("Zoomtofit1")->setChecked(true);
  FormResize();
  ShowStatus(QStringLiteral("Zooming to fit is on"));
}

void MainWindow::ZoomToActualSize() {
  zoom_to_fit_ = false;
  Action("Zoomtofit1")->setChecked(false);
  SetZoom(1.0);
  FormResize();
  CentreCanvas();
  ShowStatus(QStringLiteral("Zoom 100 %"));
}

void MainWindow::CentreCanvas() {
  QScrollBar* horizontal = ScrollBox1_->horizontalScrollBar();
  QScrollBar* vertical = ScrollBox1_->verticalScrollBar();
  horizontal->setValue((horizontal->minimum() + horizontal->maximum()) / 2);
  vertical->setValue((vertical->minimum() + vertical->maximum()) / 2);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (centred_once_) return;
  centred_once_ = true;
  // The scroll box has its real size only once the window is laid out.
  QTimer::singleShot(0, this, [this] {
    FormResize();
    CentreCanvas();
  });
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
    space_held_ = true;
    ScrollBox1_->viewport()->setCursor(Qt::OpenHandCursor);
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
    space_held_ = false;
    if (!panning_) ScrollBox1_->viewport()->unsetCursor();
    return;
  }
  QMainWindow::keyReleaseEvent(event);
}

bool MainWindow::PanEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const bool pan =
          mouse->button() == Qt::MiddleButton || (space_held_ && mouse->button() == Qt::LeftButton);
      if (!pan) return false;
      panning_ = true;
      pan_from_ = mouse->globalPosition().toPoint();
      pan_scroll_ =
          QPoint(ScrollBox1_->horizontalScrollBar()->value(), ScrollBox1_->verticalScrollBar()->value());
      ScrollBox1_->viewport()->setCursor(Qt::ClosedHandCursor);
      return true;
    }
    case QEvent::MouseMove: {
      if (!panning_) return false;
      const QPoint moved = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - pan_from_;
      ScrollBox1_->horizontalScrollBar()->setValue(pan_scroll_.x() - moved.x());
      ScrollBox1_->verticalScrollBar()->setValue(pan_scroll_.y() - moved.y());
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (!panning_) return false;
      panning_ = false;
      if (space_held_) {
        ScrollBox1_->viewport()->setCursor(Qt::OpenHandCursor);
      } else {
        ScrollBox1_->viewport()->unsetCursor();
      }
      return true;
    default:
      return false;
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ScrollBox1_ && event->type() == QEvent::Resize) FormResize();
  if (watched == Image1_ || watched == ScrollBox1_->viewport()) {
    if (event->type() == QEvent::Wheel) {
      auto* wheel = static_cast<QWheelEvent*>(event);
      const int delta = wheel->angleDelta().y();
      if (delta != 0) {
        const QPoint anchor = ScrollBox1_->viewport()->mapFromGlobal(wheel->globalPosition().toPoint());
        ZoomAbout(std::pow(1.25, delta / 120.0), anchor);
      }
      return true;
    }
    if (PanEvent(event)) return true;
  }
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
  if (!MaySetPictureAside()) return;
  if (!FolderExists(layout_.SaveDir)) layout_.SaveDir = DefaultPictureFolder();
  if (RunInProgress()) {
    // The run does not finish: no further step is taken, no frame saved.
    worker_->WaitUntilIdle();
    run_->SetStepInputs(nullptr, nullptr);
    between_steps_.clear();
    state_->flags.StopRequested = true;
    stepping_ = false;
    if (animation_) animation_->AbandonSeries();
    state_->flags.IsDrawing = false;
    host_->EndRun();
    EnableAnimationStart(true);
    SetDrawCommandsEnabled(true);
  }
  WriteOwnSettings();
  if (!isMaximized() && !isMinimized()) window_state_.mainGeometry = geometry();
  RememberWindowState();
  if (history_) history_->EndCleanly();
  ShowStatus(QStringLiteral("Exiting"));
  ending_ = true;
  emit ProgramEnding();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!ending_) Exit();
  // Cancelled at "Save the picture first?": the window stays.
  if (ending_) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace quorl
