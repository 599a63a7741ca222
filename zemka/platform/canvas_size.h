// The canvas a program draws on and the part of it the drawing window
// shows (its client area, and so every snapshot and animation frame), in
// pixels: a fact of the contract, since every back end's drawing window
// and every picture of it takes its size from here.
#pragma once

namespace zemka {

constexpr int CANVAS_WIDTH = 601;
constexpr int CANVAS_HEIGHT = 540;
constexpr int SHOWN_WIDTH = 600;
constexpr int SHOWN_HEIGHT = 500;

}  // namespace zemka
