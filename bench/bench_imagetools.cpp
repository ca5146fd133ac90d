// Picture thumbnails and the adjustment chain at the sizes users bring:
// a folder of 100 twelve-megapixel photographs (goal: under 2 s for all
// their thumbnails) and the whole chain on a 24-megapixel picture (goal:
// under 300 ms).
#include "BenchMain.h"
#include "imagetools/filters/ImageProcesser.h"
#include "imagetools/picture/Thumbnails.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// Something like a photograph: smooth gradients with fine texture.
QImage photoLike(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int texture = int(12 * std::sin(x * 0.21) * std::cos(y * 0.17));
            row[x] = qRgb(std::clamp(x * 255 / w + texture, 0, 255), std::clamp(y * 255 / h - texture, 0, 255),
                          std::clamp(128 + texture * 3, 0, 255));
        }
    }
    return img;
}

struct PhotoFolder {
    QTemporaryDir dir;
    QStringList paths;
    PhotoFolder()
    {
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpg");
        writer.setQuality(90);
        writer.write(photoLike(4000, 3000));
        for (int i = 0; i < 100; ++i) {
            const QString path = dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
            QFile f(path);
            if (f.open(QIODevice::WriteOnly))
                f.write(jpeg);
            paths << path;
        }
    }
};

void BM_Thumbnails_100_Photos_12MP(benchmark::State& state)
{
    static PhotoFolder folder;
    for (auto _ : state) {
        const QList<QImage> thumbs = Thumbnails_Of_Files(folder.paths, 800);
        if (thumbs.size() != 100 || thumbs.first().width() != 800)
            state.SkipWithError("thumbnails missing");
        benchmark::DoNotOptimize(thumbs);
    }
}
BENCHMARK(BM_Thumbnails_100_Photos_12MP)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_Filter_Chain_24MP(benchmark::State& state)
{
    static const QImage picture = photoLike(6000, 4000);
    for (auto _ : state) {
        const QImage out = ImageProcesser::Get_Processed_Image_Full_Combined(
            picture, false, true, false, 0.5f, 1.3f, 0.05f, 1.1f, 90, 0.4f, 0.5f, 10.0f, 100.0f, true, true, true,
            false, QRectF());
        if (out.size() != QSize(4000, 6000))
            state.SkipWithError("wrong result");
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_Filter_Chain_24MP)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The same without the quarter turn, to see what the turn costs.
void BM_Filter_Chain_24MP_No_Turn(benchmark::State& state)
{
    static const QImage picture = photoLike(6000, 4000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ImageProcesser::Get_Processed_Image_Full_Combined(
            picture, false, true, false, 0.5f, 1.3f, 0.05f, 1.1f, 0, 0.4f, 0.5f, 10.0f, 100.0f, true, true, true,
            false, QRectF()));
    }
}
BENCHMARK(BM_Filter_Chain_24MP_No_Turn)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_Filter_Chain_Preview_800px(benchmark::State& state)
{
    static const QImage picture = photoLike(800, 600);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ImageProcesser::Get_Processed_Image_Full_Combined(
            picture, true, true, false, 0.5f, 1.3f, 0.05f, 1.1f, 15, 0.4f, 0.5f, 4.0f, 100.0f, true, false, true,
            false, QRectF()));
    }
}
BENCHMARK(BM_Filter_Chain_Preview_800px)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return Run_Benchmarks_In_Offscreen_App(argc, argv);
}
