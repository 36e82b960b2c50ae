#pragma once

#include <QStringList>

#include <cstdint>

class C3DCurve;
struct MainContext;

// The curve manager's import: the positions the user recorded in the
// active game (its position files, read by PositionFiles) appended as
// control points to the curve selected in the manager. ET Pro, RTCW and
// ET QW write one file a position into a folder; DeFrag and Warsow one
// file with a position a line.
class ICurveImport
{
public:
    virtual ~ICurveImport() = default;
    // The curve manager's ImportClicked.
    virtual void cmCurveManager_ImportClicked() = 0;
};

class CurveImport final : public ICurveImport
{
public:
    explicit CurveImport(MainContext& context);

    void cmCurveManager_ImportClicked() override;

    // True when the import may go on into `curve`: a curve is given and,
    // once some curve has points, it can take one more.
    bool fCanImportIntoCurve(const C3DCurve* curve);
    // The folder import (ET Pro, RTCW, ET QW); true when files were found.
    bool fImportPositionFolder(C3DCurve& curve);
    // The file imports (DeFrag, Warsow); true when points were added.
    bool fImportDefragPositions(C3DCurve& curve);
    bool fImportWarsowPositions(C3DCurve& curve);
    // The file the user picks, read as lines; false when cancelled or
    // unreadable (the user is told).
    bool fReadPositionFile(const QString& description, QString& path, QStringList& lines);
    // The active game's controls of the entries appended to the curve;
    // false, with the curve and the modified mark untouched, when they give
    // no point or more than the curve can take.
    bool fAddImportedPoints(C3DCurve& curve, const QStringList& entries);

private:
    // A file import: the file's entries as the game lists them.
    bool fImportPositionLines(C3DCurve& curve, const QString& description,
                              QStringList (*entriesOf)(const QStringList& lines));
    int32_t fShowImportMessage(const QString& prompt, int32_t style = 64);

    MainContext& m_c;
};
