#include "app/window/output_folder.h"

namespace marksend {

QString FolderOfChosenPath(const QString& chosenPath, QChar separator, const QString& previous) {
  const qsizetype last = chosenPath.lastIndexOf(separator);
  return last < 0 ? previous : chosenPath.left(last);
}

}  // namespace marksend
