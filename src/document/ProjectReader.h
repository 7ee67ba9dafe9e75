#pragma once
// Reading a project file. The whole file is read into a new project state
// first; the open project is replaced only when every byte was understood,
// so a rejected, damaged or truncated file leaves it exactly as it was.
#include "document/DecodeBudget.h"
#include "imaging/Colors.h"
#include "imaging/Region.h"
#include "items/Card.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class CMyDoc;

namespace mc::document {

// One item record: the card with its stored fields, the cut shape of a cut
// item, and the record's bytes as they stand in the file (an item that is
// not loaded is written back with exactly these).
struct ItemRecord {
    std::unique_ptr<Card> card;
    std::optional<mc::Region> cutShape;
    QByteArray stored;
    // A value no saved item holds: a number that is not finite or a cut
    // shape that cannot be read. Such an item is not loaded.
    bool damaged = false;
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

// A parsed project with its pictures decoded. Items whose picture is
// missing, unreadable or beyond the decode budget, and damaged items, stay
// in their place in the stack unloaded (Card::IsUnloaded): never drawn,
// written back as they were read.
struct LoadedProject {
    ProjectContents contents;
    std::unique_ptr<QImage> bkImage; // null: no picture or not decodable
    // Item pictures found neither at their path nor beside the project
    // file, or not readable; items with damaged records (by path); pictures
    // left undecoded for the budget (background included).
    QStringList missing;
    QStringList damaged;
    QStringList overBudget;
    // Some item's picture was found beside the project file instead of at
    // its stored path, which the item now holds.
    bool relocated = false;
};

// Decodes the pictures of `contents`. A picture that is not at its stored
// path is looked for under the same file name in `projectDir` (when given).
// The background and then the items from the top of the stack take their
// share of `budget` in turn; items of one file share one decoded picture.
LoadedProject LoadPictures(ProjectContents contents, const QString& projectDir = {},
                           qint64 budget = ProjectDecodeBudget());

// The one message that tells what LoadPictures could not load; empty when
// everything was loaded.
QString LoadNotice(const LoadedProject& project);

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
// replaces the open project, records the path and clears the modified flag
// (sets it when pictures were found at a new place, which only a save
// records). `message` then holds LoadNotice (empty when all loaded).
// Otherwise the project stays as it was and `message` tells why.
bool OpenProject(CMyDoc& doc, const QString& path, QSize screen, QString* message);

} // namespace mc::document
