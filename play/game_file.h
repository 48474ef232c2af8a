#pragma once

#include "platform.h"

class PuzzleGrid;

// The saved game: PlayerGrid, the solution, the cell mask and the pencil marks
// of the given puzzle (in the game, the process-wide one), as a raw image
// behind an 8-byte magic. The current layout is 1142 bytes; the older
// "NONARO " layout (413 bytes, no marks) is still read.
const unsigned kGameFileSize = 1142;
const unsigned kOldGameFileSize = 413;

// 1 when the whole file was written and put in place of the old one; on any
// failure 0, and the file that was there before is left as it was.
int SaveGameFile(const PuzzleGrid* puzzle, const WCHAR* path);
// The same in two steps: the file's bytes for the game as it stands now,
// then those bytes written, however the game has changed meanwhile.
void MakeGameImage(const PuzzleGrid* puzzle, unsigned char image[kGameFileSize]);
int SaveGameImage(const unsigned char image[kGameFileSize], const WCHAR* path);

// Why a file was not loaded: not a whole game, or held by another program
// in a way that lets nobody else read it (a sharing violation or a lock).
enum GameFileRefusal { kNotAGame, kFileInUse };

// 1 when the file held a whole, valid game, which now stands in the arrays;
// 0 otherwise, with not one byte of the arrays changed, and the reason in
// `refusal` when one is given. A valid game has a complete solution, its
// givens showing their solution digits and no player digit repeated in a
// row, column or box.
int LoadGameFile(PuzzleGrid* puzzle, const WCHAR* path, GameFileRefusal* refusal = nullptr);
