// The game's command entry: the shell offers it every menu and accelerator command first.
#include "CommandIds.h"
#include "Game.h"

namespace {

struct StepCommand {
    int id;
    int16_t dx;
    int16_t dy;
};

constexpr StepCommand kStepCommands[] = {
    {IDM_STEP_WEST, -1, 0},       {IDM_STEP_EAST, 1, 0},         {IDM_STEP_NORTH, 0, -1},
    {IDM_STEP_SOUTH, 0, 1},       {IDM_STEP_NORTH_WEST, -1, -1}, {IDM_STEP_NORTH_EAST, 1, -1},
    {IDM_STEP_SOUTH_WEST, -1, 1}, {IDM_STEP_SOUTH_EAST, 1, 1},   {IDM_WAIT, 0, 0},
};

const StepCommand* FindStep(int id) {
    for (const StepCommand& step : kStepCommands) {
        if (step.id == id) {
            return &step;
        }
    }
    return nullptr;
}

void CarryOut(CGame& game, int id) {
    switch (id) {
    case IDM_TELEPORT:
        Teleport(game);
        break;
    case IDM_SCREWDRIVER:
        UseScrewdriver(game);
        break;
    case IDM_LAST_STAND:
        LastStand(game, 1);
        break;
    case IDM_LAST_STAND_MINUS_1:
        LastStand(game, -1);
        break;
    case IDM_LAST_STAND_MINUS_2:
        LastStand(game, -2);
        break;
    case IDM_TOGGLE_GRID:
        ToggleGrid(game);
        break;
    case IDM_ADVANCED_OPTIONS:
        ShowAdvancedOptions(game);
        break;
    case IDM_TOGGLE_COLOR:
        ToggleColor(game);
        break;
    default: {
        const StepCommand* step = FindStep(id);
        MovePlayer(game, step->dx, step->dy);
        break;
    }
    }
}

} // namespace

bool IsGameAction(int id) {
    switch (id) {
    case IDM_TELEPORT:
    case IDM_SCREWDRIVER:
    case IDM_LAST_STAND:
    case IDM_LAST_STAND_MINUS_1:
    case IDM_LAST_STAND_MINUS_2:
    case IDM_TOGGLE_GRID:
    case IDM_ADVANCED_OPTIONS:
    case IDM_TOGGLE_COLOR:
        return true;
    default:
        return FindStep(id) != nullptr;
    }
}

bool HandleGameCommand(CGame& game, int id) {
    if (id == IDM_QUIT || id == IDM_QUIT_OR_STOP_WATCHING || id == IDM_QUIT_KEEPING_SETTINGS) {
        QuitGame(game, id == IDM_QUIT_KEEPING_SETTINGS ? SettingsAtQuit::kKeepStored
                                                       : SettingsAtQuit::kStore);
        return true;
    }
    if (id == IDM_PLATFORM) {
        game.m_host.ShowPlatformDescription();
        game.m_host.FlushKeyboardInput();
        return true;
    }
    if (!IsGameAction(id)) {
        return false;
    }
    if (game.m_busy || game.m_demoMode) {
        game.m_host.FlushKeyboardInput();
        return true;
    }
    if (id != IDM_ADVANCED_OPTIONS) {
        game.m_host.HideCursor();
        game.m_host.BringWindowToTop();
        if (id != IDM_TOGGLE_GRID && id != IDM_TOGGLE_COLOR) {
            game.m_host.FlushKeyboardInput();
        }
    }
    CarryOut(game, id);
    // Keys typed during the action's animation are dropped, never queued.
    game.m_host.FlushKeyboardInput();
    return true;
}
