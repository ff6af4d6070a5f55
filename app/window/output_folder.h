// The folder of the path chosen in the save dialog. Pure function; thread-safe.
#pragma once

#include <QString>

namespace marksend {

// Everything before the last separator of chosenPath; previous when the path
// holds no separator. The folder has no trailing separator ("D:" for "D:\x.xml").
QString FolderOfChosenPath(const QString& chosenPath, QChar separator, const QString& previous);

}  // namespace marksend
