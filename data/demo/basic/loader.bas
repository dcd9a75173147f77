# Every demo tape's loader, saved under the program's name: the loading screen, then the
# program, which starts itself.
10 BORDER 0: PAPER 0: INK 0: CLS
20 LOAD "" SCREEN$
30 LOAD ""
