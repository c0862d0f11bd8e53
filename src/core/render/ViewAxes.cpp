#include "render/ViewAxes.h"

#include "document/DocumentServices.h"

ViewAxes AxesForViewType(int type) {
    ViewAxes axes;
    switch (type) {
    case VIEW2D_YZ:
        axes.horizontal = 1;
        axes.vertical = 2;
        break;
    case VIEW2D_XZ:
        axes.horizontal = 0;
        axes.vertical = 2;
        break;
    default:
        axes.horizontal = 0;
        axes.vertical = 1;
        break;
    }
    axes.invertHorizontal = false;
    axes.invertVertical = true;
    axes.third = 3 - axes.horizontal - axes.vertical;
    return axes;
}

int NextViewType(int type) {
    return type >= VIEW2D_XZ || type < VIEW2D_XY ? VIEW2D_XY : type + 1;
}

int PreviousViewType(int type) {
    return type <= VIEW2D_XY || type > VIEW2D_XZ ? VIEW2D_XZ : type - 1;
}

int TakeInitialViewType() {
    int& counter = DocumentServices::Installed().next2DViewType;
    if (counter < VIEW2D_XY || counter > VIEW2D_XZ) {
        counter = VIEW2D_XY;
    }
    const int type = counter;
    counter = counter + 1 > VIEW2D_XZ ? VIEW2D_XY : counter + 1;
    return type;
}
