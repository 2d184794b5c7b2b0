// A table engine file that needs Qt.
#include <QString>
#include <vector>
