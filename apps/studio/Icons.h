// Studio's icons, painted with QPainter on a 24 x 24 design grid and
// rendered at the sizes tool bars and menus ask for, so the program ships
// without image files and stays sharp at any scale.
#pragma once

#include "cad/shapes/ShapeTypes.h"

#include <QIcon>
#include <QString>

namespace mycad::studio {

/// The icon of a drawing or action tool.
QIcon ToolIcon(TDrawTool tool);

/// Icons of commands, by name: "new", "open", "save", "export", "undo",
/// "redo", "delete", "selectall", "group", "ungroup", "front", "back",
/// "forward", "backward", "alignleft", "alignright", "aligntop",
/// "alignbottom", "alignhcenter", "alignvcenter", "spaceh", "spacev",
/// "fliph", "flipv", "rotatecw", "rotateccw", "lock", "unlock", "zoomin",
/// "zoomout", "zoom100", "zoomfit", "grid", "snap", "snapshape", "layeradd",
/// "layerdelete", "layerrename", "layermerge", "app". An unknown name gives
/// an empty icon.
QIcon CommandIcon(const QString& name);

} // namespace mycad::studio
