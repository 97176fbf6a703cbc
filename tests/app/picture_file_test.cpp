// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/picture_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <csignal>
#include <string>
#include <vector>

namespace integral {
namespace {

void drawSomething(QPainter& painter, const QRectF& area) {
    painter.fillRect(area, Qt::white);
    painter.setPen(Qt::black);
    for (int i = 0; i < 200; ++i) {
        painter.drawLine(QPointF(i, 0), QPointF(area.width() - i, area.height()));
    }
}

QString save(const QString& path, PictureFormat format) {
    return writePicture(path, format, QSize(400, 300), drawSomething, QStringLiteral("test"));
}

// While the limit holds, no file may grow beyond a few bytes, as on a full disk.
class FullDisk {
  public:
    FullDisk() {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved_;
        small.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST(PictureFileTest, EveryFailureIsToldAndNothingIsLost) {
    QTemporaryDir folder;
    const QString good = folder.filePath(QStringLiteral("good.png"));
    ASSERT_EQ(save(good, PictureFormat::Png), "");
    QFile written(good);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray before = written.readAll();
    written.close();
    EXPECT_TRUE(before.startsWith("\x89PNG"));

    struct FailureCase {
        std::string name;
        QString path;
        PictureFormat format;
        const char* reason;
    };
    const std::vector<FailureCase> cases = {
        {"missing folder", folder.filePath(QStringLiteral("none/x.png")), PictureFormat::Png,
         "does not exist"},
        {"a folder nothing may be written to", QStringLiteral("/proc/integral.svg"),
         PictureFormat::Svg, "could not be saved"},
        {"a quotation mark", folder.filePath(QStringLiteral("my \"plot\".png")), PictureFormat::Png,
         "quotation mark"},
        {"a name over 255 bytes", folder.filePath(QString(256, QLatin1Char('n'))),
         PictureFormat::Svg, "at most 255"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(save(c.path, c.format).contains(QString::fromLatin1(c.reason)))
            << save(c.path, c.format).toStdString();
    }

    // A disk that fills up while the picture is written: the good file stays as it was, and no
    // half-written file is left beside it.
    for (const PictureFormat format : {PictureFormat::Png, PictureFormat::Svg}) {
        QString problem;
        {
            FullDisk full;
            problem = save(good, format);
        }
        EXPECT_TRUE(problem.contains("could not be saved")) << problem.toStdString();
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), before);
        written.close();
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1);
    }
    EXPECT_EQ(save(folder.filePath(QStringLiteral("plot.svg")), PictureFormat::Svg), "");
}

}  // namespace
}  // namespace integral
