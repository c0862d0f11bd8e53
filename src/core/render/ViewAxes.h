#pragma once

// The three 2D view types and the axes each one shows.
enum ViewType2D { VIEW2D_XY = 0, VIEW2D_YZ = 1, VIEW2D_XZ = 2 };

// Axes of a 2D view: 0 = X, 1 = Y, 2 = Z. The third axis is the one the view looks along.
struct ViewAxes {
    bool invertHorizontal = false;
    bool invertVertical = true;
    int horizontal = 0;
    int vertical = 1;
    int third = 2;

    friend bool operator==(const ViewAxes&, const ViewAxes&) = default;
};

// X/Y, Y/Z and X/Z, each with world "up" upwards on screen (vertical axis inverted). A type
// outside 0..2 gives the X/Y axes.
ViewAxes AxesForViewType(int type);

// Tab and Shift+Tab: 0 -> 1 -> 2 -> 0 and back.
int NextViewType(int type);
int PreviousViewType(int type);

// The type a newly made 2D view starts with, from the editor's counter: 0, 1, 2, 0, 1, ...
int TakeInitialViewType();
