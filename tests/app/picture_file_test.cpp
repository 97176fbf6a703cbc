// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/picture_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QXmlStreamReader>
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
        {"SVG under a name for PNG", folder.filePath(QStringLiteral("plot.png")),
         PictureFormat::Svg, "ends in .png, but the picture is SVG"},
        {"PNG under a name for SVG", folder.filePath(QStringLiteral("plot.SVG")),
         PictureFormat::Png, "ends in .svg, but the picture is PNG"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(save(c.path, c.format).contains(QString::fromLatin1(c.reason)))
            << save(c.path, c.format).toStdString();
    }

    // A disk that fills up while the picture is written: the good file stays as it was, and no
    // half-written file is left beside it.
    const QString goodSvg = folder.filePath(QStringLiteral("good.svg"));
    ASSERT_EQ(save(goodSvg, PictureFormat::Svg), "");
    for (const auto& [path, format] :
         {std::pair{good, PictureFormat::Png}, std::pair{goodSvg, PictureFormat::Svg}}) {
        QFile kept(path);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        const QByteArray was = kept.readAll();
        kept.close();
        QString problem;
        {
            FullDisk full;
            problem = save(path, format);
        }
        EXPECT_TRUE(problem.contains("could not be saved")) << problem.toStdString();
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), was);
        kept.close();
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);
    }
    EXPECT_EQ(save(folder.filePath(QStringLiteral("plot.svg")), PictureFormat::Svg), "");
}

// What is written is what its name says, and opens as such: an SVG whose title holds the
// integrand's < and & is well-formed XML with that title as its text.
TEST(PictureFileTest, AnSvgIsWellFormedWhateverItsTitle) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("plot.svg"));
    const QString title = QStringLiteral("Convergence of f(x) = (x<1) & (x>0)");
    ASSERT_EQ(writePicture(path, PictureFormat::Svg, QSize(200, 100), drawSomething, title), "");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString read;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"title") {
            read = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(read, title);
}

}  // namespace
}  // namespace integral
