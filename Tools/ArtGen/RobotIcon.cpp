#include "RobotIcon.h"

#include "Sprites.h"
#include "Themes.h"

namespace artgen {

Image robotIcon(int side) {
    return classicTheme().main.paint(robotSprite()).scaled(side / 16);
}

} // namespace artgen
