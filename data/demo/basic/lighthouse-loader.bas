# The Lighthouse Keeper's loader: the loading screen, then the game.
10 BORDER 0: PAPER 0: INK 0: CLS
20 LOAD "" SCREEN$
30 LOAD ""
