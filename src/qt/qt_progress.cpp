#include "qt/qt_progress.h"

#include <QCoreApplication>

#include "qt/qstring_bytes.h"
#include "text/counts.h"

namespace vistello {

namespace {

// Often enough to paint smoothly, seldom enough that thousands of small pages do not wait on it.
constexpr qint64 kRefreshMs = 25;

// The bar moves in hundredths of an item, so that one long item, a clip, moves it too: a bar
// that stays at its start is never shown.
constexpr int kParts = 100;

QString CountText(const std::string& unit, int done, int total) {
    return ToQString(unit + " " + GroupThousands(done) + " of " + GroupThousands(total));
}

}  // namespace

QtProgress::QtProgress(int total, const std::string& unit, QWidget* owner,
                       std::chrono::milliseconds delay, const QString& title)
    : m_dialog(CountText(unit, 0, total), QStringLiteral("Cancel"), 0, total * kParts, owner),
      m_unit(unit),
      m_total(total) {
    m_dialog.setWindowTitle(title);
    m_dialog.setWindowModality(Qt::WindowModal);
    m_dialog.setMinimumDuration(static_cast<int>(delay.count()));
    m_dialog.setValue(0);
    m_sinceRefresh.start();
}

bool QtProgress::Step(int done) { return Show(done, 0, CountText(m_unit, done, m_total)); }

// "Clip 3 of 20 (45%)": the one under way, and how far it has come.
bool QtProgress::StepWithin(int done, int percent) {
    if (done >= m_total) return Step(done);
    return Show(done, percent,
                CountText(m_unit, done + 1, m_total) + QStringLiteral(" (%1%)").arg(percent));
}

bool QtProgress::StepWithText(int done, const std::string& line) {
    return Show(done, 0, ToQString(line));
}

// Once cancelled the dialog is left alone: another value would start it over.
bool QtProgress::Show(int done, int percent, const QString& label) {
    if (m_dialog.wasCanceled()) return false;
    if (done < m_total && m_sinceRefresh.elapsed() < kRefreshMs) return true;
    m_sinceRefresh.start();
    m_dialog.setLabelText(label);
    m_dialog.setValue(done * kParts + percent);
    QCoreApplication::processEvents(m_dialog.isVisible() ? QEventLoop::AllEvents
                                                         : QEventLoop::ExcludeUserInputEvents);
    return !m_dialog.wasCanceled();
}

}  // namespace vistello
