#pragma once
// The bundled sample project. The project format stores absolute picture
// paths, so the sample is written on each machine from the pictures in the
// checkout's samples/ folder.
#include <QSize>
#include <QString>
#include <QStringList>

namespace mc::canvas {

// The pictures the sample uses, file names inside the samples folder.
QStringList SamplePictureNames();

struct SampleResult {
    bool ok = false;
    QString projectPath; // DIR/sample.mcr
    QString message;     // for the user, when !ok
};

// Builds a project from the pictures in `pictureDir` (a tiled background and
// several items: rotated, gray, semitransparent and cut) on a canvas of at
// most 1024 x 768 (smaller screens get the screen size), its items placed on
// the canvas as a view with the client area `client` shows it, and saves it
// with its companion JPEG as DIR/sample.mcr.
SampleResult WriteSampleProject(const QString& dir, QSize client, QSize screen, const QString& pictureDir);

} // namespace mc::canvas
