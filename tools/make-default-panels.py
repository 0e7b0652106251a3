#!/usr/bin/env python3
"""Writes the default panel layouts that the editor offers for each board.

    make-default-panels.py [OUTDIR]   -> OUTDIR/Default_Quorba_2.cpl
                                         OUTDIR/Default_Quorba_4.cpl
                                         OUTDIR/Default_Quorba_VEXO.cpl

OUTDIR defaults to the repository's Templates folder. Each file is a cabinet control
panel for its board: per player a joystick with its four arrows, the player's buttons,
the start button and a coin slot, every control wired to the input a user would wire it
to. The lines are exactly what the editor writes when it saves the same panel, so a
template loaded and saved again is unchanged.
"""
import os
import struct
import sys

TWIPS = 15  # twips per screen pixel, the unit every picture size below is given in

# Picture sizes in twips (the controls keep the size of their own picture).
BUTTON = (23 * TWIPS, 24 * TWIPS)   # push buttons and start buttons
JOYSTICK = (30 * TWIPS, 30 * TWIPS)
COIN = (42 * TWIPS, 40 * TWIPS)
ARROW_UD = (15 * TWIPS, 8 * TWIPS)
ARROW_LR = (8 * TWIPS, 15 * TWIPS)

# The panel design area of the main window.
AREA_LEFT, AREA_TOP, AREA_RIGHT, AREA_BOTTOM = 2700, 620, 9398, 5500

# Selector indexes: the input kind a control is wired to.
SEL_UP, SEL_DOWN, SEL_LEFT, SEL_RIGHT = 1, 2, 3, 4
SEL_START, SEL_COIN, SEL_C, SEL_D = 13, 14, 15, 16


def sel_switch(n):
    """Selector of switch n (1 to 8)."""
    return 4 + n


# Colour indexes.
WHITE, RED, YELLOW, GREEN, BLUE = 0, 1, 3, 4, 5
# One colour per player for the joystick ball and the buttons, as cabinets mark them.
PLAYER_COLOURS = {1: RED, 2: BLUE, 3: GREEN, 4: YELLOW}
# The extra switches C and D stand apart from the player's own colour.
EXTRA_COLOUR = WHITE


def single(v):
    """v as the editor writes a single-precision number: up to 7 significant digits,
    no fraction when whole. Every value here is a whole number of half twips."""
    f = struct.unpack("<f", struct.pack("<f", v))[0]
    if f != v:
        raise ValueError(f"{v} is not a single-precision value")
    if f == 0:
        return "0"
    text = "%.7g" % f
    if "e" in text:
        raise ValueError(f"{v} is outside the panel's range")
    return text


class Panel:
    def __init__(self):
        self.lines = []
        self.boxes = []  # every control's rectangle, to check the layout

    def add(self, left, top, size, code, player, selector):
        width, height = size
        self.boxes.append((left, top, width, height, code))
        fields = [single(left), single(top), single(width), single(height)]
        self.lines.append("!".join(fields) + f"!{code}|{player}|{selector}|0")

    def button(self, left, top, colour, player, selector):
        self.add(left, top, BUTTON, f"0{colour}", player, selector)

    def start(self, left, top, player):
        self.add(left, top, BUTTON, f"{player}0", player, SEL_START)

    def coin(self, left, top, player):
        self.add(left, top, COIN, "80", player, SEL_COIN)

    def joystick(self, left, top, colour, player):
        """The joystick (not wired itself) and its arrows where the editor's AddArrow
        puts them: centred on each side, one pixel clear of the joystick."""
        self.add(left, top, JOYSTICK, f"5{colour}", 0, 0)
        w, h = JOYSTICK
        (uw, uh), (lw, lh) = ARROW_UD, ARROW_LR
        self.add(left + (w - uw) / 2, top - uh - TWIPS, ARROW_UD, "AU", player, SEL_UP)
        self.add(left + (w - uw) / 2, top + h + TWIPS, ARROW_UD, "AD", player, SEL_DOWN)
        self.add(left - lw - TWIPS, top + (h - lh) / 2, ARROW_LR, "AL", player, SEL_LEFT)
        self.add(left + w + TWIPS, top + (h - lh) / 2, ARROW_LR, "AR", player, SEL_RIGHT)

    def check(self):
        for i, (l, t, w, h, code) in enumerate(self.boxes):
            if l < AREA_LEFT or t < AREA_TOP or l + w > AREA_RIGHT or t + h > AREA_BOTTOM:
                raise ValueError(f"control {i} ({code}) is outside the panel design area")
            for j, (l2, t2, w2, h2, code2) in enumerate(self.boxes[:i]):
                if l < l2 + w2 and l2 < l + w and t < t2 + h2 and t2 < t + h:
                    raise ValueError(f"control {i} ({code}) overlaps control {j} ({code2})")

    def text(self):
        self.check()
        return "".join(line + "\r\n" for line in self.lines)


def px(n):
    return n * TWIPS


# Button grid: columns 30 pixels apart (caption room under each), rows 40 apart.
COLUMN = px(30)
ROW = px(40)


def button_rows(vexo):
    """Rows of (switch, column offset in columns): the six main buttons in two rows of
    three, then 7 and 8 (A and B on a Vexo) between the columns, and on a Vexo C and D
    below them."""
    rows = [[(1, 0), (2, 1), (3, 2)], [(4, 0), (5, 1), (6, 2)], [(7, 0.5), (8, 1.5)]]
    if vexo:
        rows.append([("C", 0.5), ("D", 1.5)])
    return rows


def player_buttons(panel, player, left, top, vexo):
    colour = PLAYER_COLOURS[player]
    for r, row in enumerate(button_rows(vexo)):
        for switch, column in row:
            x = left + column * COLUMN
            y = top + r * ROW
            if switch == "C":
                panel.button(x, y, EXTRA_COLOUR, player, SEL_C)
            elif switch == "D":
                panel.button(x, y, EXTRA_COLOUR, player, SEL_D)
            else:
                panel.button(x, y, colour, player, sel_switch(switch))


def two_player_panel(vexo):
    """Players side by side, each a joystick with the buttons to its right and the start
    button above them; the two coin slots sit together at the bottom, in the middle."""
    panel = Panel()
    # Each player's controls take 196 pixels with their captions; the players stand 30
    # pixels apart, further than a stick from its buttons, so each group reads as one.
    pitch = px(226)
    for player in (1, 2):
        x0 = AREA_LEFT + (player - 1) * pitch
        stick_left = x0 + px(45)
        buttons_left = x0 + px(122)
        buttons_top = px(110)
        # The stick's centre is level with the gap between the two main rows.
        stick_top = buttons_top + px(17)
        panel.joystick(stick_left, stick_top, PLAYER_COLOURS[player], player)
        player_buttons(panel, player, buttons_left, buttons_top, vexo)
        panel.start(buttons_left + COLUMN, px(52), player)
    middle = AREA_LEFT + px(223)  # the middle of both players' groups
    coin_top = px(300)
    panel.coin(middle - px(9) - COIN[0], coin_top, 1)
    panel.coin(middle + px(9), coin_top, 2)
    return panel


def four_player_panel():
    """Four players side by side, each in a column of its own: start button, joystick, the
    buttons in pairs below it (1 2, 3 4, 5 6, 7 8) and the coin slot at the bottom. A
    column is too narrow for rows of three: the keypad names that player 4's default keys
    show ("NUM ENTER" beside "NUM +") need 40 pixels between two buttons' centres."""
    panel = Panel()
    column_width = px(111)
    pair = px(42)  # between the centres of a pair's buttons; the players' pairs stand 69 apart
    row = px(35)   # a button and its caption, and 4 pixels clear of the next button
    for player in (1, 2, 3, 4):
        # Left edge of the column's middle pixel column; the pictures are centred on it.
        centre = AREA_LEFT + px(1) + (player - 1) * column_width + px(56)
        panel.start(centre - px(11), px(46), player)
        panel.joystick(centre - px(15), px(104), PLAYER_COLOURS[player], player)
        for switch in range(1, 9):
            column, line = (switch - 1) % 2, (switch - 1) // 2
            left = centre - pair // 2 - px(11) + column * pair
            panel.button(left, px(160) + line * row, PLAYER_COLOURS[player], player, sel_switch(switch))
        panel.coin(centre - px(21), px(302), player)
    return panel


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "Templates")
    os.makedirs(out, exist_ok=True)
    panels = {
        "Default_Quorba_2.cpl": two_player_panel(vexo=False),
        "Default_Quorba_4.cpl": four_player_panel(),
        "Default_Quorba_VEXO.cpl": two_player_panel(vexo=True),
    }
    for name, panel in panels.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(panel.text().encode("ascii"))


if __name__ == "__main__":
    main()
