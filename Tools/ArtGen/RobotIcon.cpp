#include "RobotIcon.h"

#include "Sprites.h"
#include "Themes.h"

namespace artgen {

Image smallRobotIcon() {
    return classicTheme().main.paint(robotSprite());
}

Image largeRobotIcon() {
    return smallRobotIcon().scaled(2);
}

} // namespace artgen
