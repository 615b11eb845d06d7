#pragma once

#include <QString>

#include <cstdint>

class QWidget;

// Pictures the tests leave in the build's test-artefacts/ for people to look at.

// The folder, made when missing.
QString artefactFolder();
// A file of the folder.
QString artefactPath(const QString &fileName);
// The window as the desktop shows it, its colour key (a Windows colour) transparent, as
// NAME.png.
bool saveArtefact(QWidget &window, std::uint32_t colourKey, const QString &name);
