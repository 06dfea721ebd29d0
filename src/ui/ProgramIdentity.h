#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>

// How the desktop knows the program: the id that names its menu entry, icon and metadata, and
// the mark it shows in taskbars and the about box.

// "org.example.Strivo", the name of the desktop file without ".desktop" and of the icon.
QString applicationId();

// "Strivo 1.1.0"
QString versionText();

// The SVG drawn at size x size pixels, transparent around it; a null image when svg is no SVG.
QImage renderSvg(const QByteArray &svg, int size);

// The program's mark from the SVG built into it.
QImage renderMark(int size);

// The mark as an icon, drawn for the sizes a desktop asks for.
QIcon builtInIcon();

// The icon of the installed icon theme, so that the window shows what the menu entry shows;
// the built-in mark where none is installed (a build folder, portable use).
QIcon programIcon();

// Ties the windows to the menu entry: the desktop file's name (a taskbar groups by it, Wayland
// takes it as the app id) and the window icon. Called once the application object exists.
void identifyProgram();
