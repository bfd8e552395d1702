// The walkers branch at every joined piece, so written as plain recursion
// their depth grows with the length of a joined chain. On the largest boards
// a chain holds hundreds of pieces; the walk therefore keeps its own stack of
// frames, visiting the pieces in exactly the order the recursion would.
#include "game/Grouping.h"

#include <vector>

namespace game {

namespace {

enum class Dir : uint8_t { Left, Right, Up, Down };

// Where a walker looks and which walkers branch off the pieces it joins.
struct DirRule {
    int dCol;
    int dRow;
    Dir first;
    Dir second;
};

constexpr DirRule Rule(Dir d) {
    switch (d) {
        case Dir::Left: return {-1, 0, Dir::Up, Dir::Down};
        case Dir::Right: return {1, 0, Dir::Up, Dir::Down};
        case Dir::Up: return {0, -1, Dir::Right, Dir::Left};
        case Dir::Down: return {0, 1, Dir::Left, Dir::Right};
    }
    return {0, 0, Dir::Left, Dir::Left};
}

// The entry test: the piece's home cell has a neighbour cell that way.
bool HasNeighbourCell(const GameState& s, const PieceRec& p, Dir d) {
    switch (d) {
        case Dir::Left: return p.Col >= 1;
        case Dir::Right: return p.Col < s.Cols - 1;
        case Dir::Up: return p.Row >= 1;
        case Dir::Down: return p.Row < s.Rows - 1;
    }
    return false;
}

// The next piece a walker joins from piece i, or -1 where the walk ends.
int NextJoin(const GameState& s, int i, Dir d) {
    const PieceRec& from = s.Pieces[static_cast<size_t>(i)];
    const DirRule r = Rule(d);
    const int wanted = from.PicIndex + r.dCol + r.dRow * s.Cols;
    const int n = static_cast<int>(s.Pieces.size());
    int k = 0;
    while (k < n && (k == i || s.Pieces[static_cast<size_t>(k)].PicIndex != wanted)) ++k;
    if (k == n) return -1;
    const PieceRec& to = s.Pieces[static_cast<size_t>(k)];
    if (to.InGroup || to.Rotation != 0) return -1;
    if (to.Col != from.Col + r.dCol || to.Row != from.Row + r.dRow) return -1;
    if (to.Left != from.Left + r.dCol * s.PieceStep || to.Top != from.Top + r.dRow * s.PieceStep) return -1;
    return k;
}

// One walker and every branch it starts, run to the end. A frame stands
// for one walker: stage 0 searches the next piece from `i` and, having
// joined piece `k`, starts the first sideways walker on it; stage 1 starts
// the second; stage 2 goes on from `k`.
void Walk(GameState& s, int start, Dir dir) {
    const int n = static_cast<int>(s.Pieces.size());
    const int held = s.SelectedPiece;
    if (start < 0 || start >= n || held < 0 || held >= n) return;

    struct Frame {
        Dir dir;
        int i;
        int k;
        uint8_t stage;
    };
    std::vector<Frame> stack;
    auto enter = [&](int i, Dir d) {
        if (HasNeighbourCell(s, s.Pieces[static_cast<size_t>(i)], d)) stack.push_back({d, i, -1, 0});
    };
    enter(start, dir);
    while (!stack.empty()) {
        Frame& f = stack.back();
        switch (f.stage) {
            case 0: {
                const int k = NextJoin(s, f.i, f.dir);
                if (k < 0) {
                    stack.pop_back();
                    break;
                }
                PieceRec& joined = s.Pieces[static_cast<size_t>(k)];
                const PieceRec& lead = s.Pieces[static_cast<size_t>(held)];
                joined.GroupDX = static_cast<int16_t>(joined.Left - lead.Left);
                joined.GroupDY = static_cast<int16_t>(joined.Top - lead.Top);
                joined.InGroup = true;
                f.k = k;
                f.stage = 1;
                const Dir side = Rule(f.dir).first;
                enter(k, side);  // may move the frame: `f` is not used after this
                break;
            }
            case 1: {
                f.stage = 2;
                const int k = f.k;
                const Dir side = Rule(f.dir).second;
                enter(k, side);
                break;
            }
            default:
                f.i = f.k;
                f.stage = 0;
                break;
        }
    }
}

}  // namespace

void CollectGroup(GameState& state, int16_t held) {
    JoinLeft(state, held);
    JoinRight(state, held);
    JoinUp(state, held);
    JoinDown(state, held);
}

void JoinLeft(GameState& state, int16_t i) { Walk(state, i, Dir::Left); }
void JoinRight(GameState& state, int16_t i) { Walk(state, i, Dir::Right); }
void JoinUp(GameState& state, int16_t i) { Walk(state, i, Dir::Up); }
void JoinDown(GameState& state, int16_t i) { Walk(state, i, Dir::Down); }

}  // namespace game
