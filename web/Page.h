#pragma once
// What the page offers the game, written in JavaScript (js/*.js). Positions
// and sizes are CSS pixels of the page; colours are 0x00BBGGRR.

#include <cstdint>

extern "C" {
// The page's root and background canvas; answers the viewport's size.
void tp_start(int* width, int* height);
// From now on the page's input comes; its key listener asks tp_game_key
// about each key, with the key's place name written into `name` first.
void tp_listen(const void* system, char* name, int size);

// Block picture 1..7 from side x side RGBA bytes.
void tp_picture(int picture, const std::uint8_t* rgba, int side);
// Picture 0 is a black fill; `retained` 0 draws on the window alone.
void tp_draw(int x, int y, int width, int height, int picture, int retained);

// Elements, by kind; parent 0 is the page's root, which is element 0.
enum TpKind { kTpLabel = 1, kTpTextBox = 2, kTpOutline = 3, kTpSprite = 4, kTpWindow = 5 };
int tp_create(int kind, int parent);
// A width or height below 0 follows the text.
void tp_place(int id, int left, int top, int width, int height);
void tp_move(int id, int left, int top);
void tp_text(int id, const char* utf8);
// `back` below 0: transparent.
void tp_colours(int id, int text, int back);
void tp_font(int id, const char* family, double points, int bold);
void tp_centred(int id, int on);
void tp_visible(int id, int on);
void tp_sprite_picture(int id, int picture);
void tp_remove(int id);

// Input: see js/events.js for the kinds.
double tp_head_time();
int tp_take_event(int* element, int* flags, char* code, int size);
// The game's answer, between events: whether the key named is the game's now
// (the page keeps it from the browser) or not (the browser's: F5, Tab...).
int tp_game_key(const void* system, const char* name, int numLock);

void tp_preload(const char* file);
void tp_play(const char* file);

void tp_title(const char* utf8);
double tp_time_of_day();
void tp_end();
}
