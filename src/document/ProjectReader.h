#pragma once
// Reading a project file. The whole file is read into a new project state
// first; the open project is replaced only when every byte was understood,
// so a rejected, damaged or truncated file leaves it exactly as it was.
#include "imaging/Colors.h"
#include "imaging/Region.h"
#include "items/Card.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class CMyDoc;

namespace mc::document {

// One item record: the card with its stored fields, and the cut shape of a
// cut item.
struct ItemRecord {
    std::unique_ptr<Card> card;
    std::optional<mc::Region> cutShape;
};

// Everything a project file holds, before any picture is decoded.
struct ProjectContents {
    QString bkPath;
    int canvasWidth = 0;
    int canvasHeight = 0;
    mc::COLORREF bkColor = 0;
    int predefined = -1;
    int placement = 0;
    bool byDisplayScale = true;
    std::vector<ItemRecord> items; // topmost first
};

struct ParseResult {
    std::optional<ProjectContents> contents;
    QString message; // for the user, when there are no contents
};

// Understands the bytes of a project file. The canvas is reduced to
// `screen` on each axis. Every count and length is checked against the
// bytes that are left before anything is allocated.
ParseResult ParseProject(const QByteArray& bytes, QSize screen);

// A parsed project with its pictures decoded: items whose picture cannot be
// read are left out, the others carry their effects and cut shape.
struct LoadedProject {
    ProjectContents contents;
    std::unique_ptr<QImage> bkImage; // null: no picture or not decodable
};

// Items must stay within this distance of the view's origin: farther out no
// scrolling reaches them, and only a damaged file puts them there.
inline constexpr double kMaxItemExtent = 1 << 16;

// nullopt when an item lies beyond kMaxItemExtent or its cut shape beyond
// its picture: the file is damaged.
std::optional<LoadedProject> LoadPictures(ProjectContents contents);

struct ReadResult {
    std::optional<LoadedProject> project;
    QString message;
};

// Reads, parses and loads the file at `path`.
ReadResult ReadProjectFile(const QString& path, QSize screen);

// Replaces the project's stored fields and items by `project`. The cut
// status, the shape and the path are not touched.
void ApplyProject(CMyDoc& doc, LoadedProject project);

// Open Project: reads `path` and, when the whole file was understood,
// replaces the open project, records the path and clears the modified flag.
// Otherwise the project stays as it was and `message` tells why.
bool OpenProject(CMyDoc& doc, const QString& path, QSize screen, QString* message);

} // namespace mc::document
