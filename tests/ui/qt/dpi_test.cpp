#include "ui/dpi.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPixmap>
#include <QProcess>
#include <QWidget>
#include <QWindow>

#include "tests/ui/test_window_flags.h"
#include "ui/qt/window_access.h"
#include "ui/top_level_windows.h"

namespace {

// A screen of 120 dots per inch is Qt's scale factor 1.25; it must be set before the
// application starts, so the test runs itself again with it.
constexpr char kScale[] = "1.25";

TEST(UiDpi, WindowAt120DpiIsPlacedAndSizedByDpiOver96) {
  if (qEnvironmentVariable("QT_SCALE_FACTOR") != QLatin1String(kScale)) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QLatin1String(kScale));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=UiDpi.WindowAt120DpiIsPlacedAndSizedByDpiOver96")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
    return;
  }

  EXPECT_EQ(UiDpiX(), 120);
  EXPECT_EQ(UiDpiY(), 120);
  ASSERT_NE(WindowCreate(0, 800, 100, 600, 600, u"", kTestWindowFlags), 0);
  QWidget* window = WindowHandle(0);
  const qreal ratio = window->windowHandle()->devicePixelRatio();
  EXPECT_DOUBLE_EQ(ratio, 1.25);
  const QPoint at = window->frameGeometry().topLeft();
  EXPECT_EQ(QPoint(qRound(at.x() * ratio), qRound(at.y() * ratio)), QPoint(1000, 125));
  // The client area in device pixels, as drawn.
  EXPECT_EQ(window->grab().size(), QSize(750, 750));
  WindowClose(0);
}

}  // namespace
