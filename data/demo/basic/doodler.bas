# Dot Doodler: draw with Q, A, O and P; 0 to 6 pick the ink, C clears the page.
10 BORDER 7: PAPER 7: INK 0: CLS
20 PRINT AT 0,0; PAPER 1; INK 7;" DOT DOODLER  QAOP draw  0-6 ink"
30 LET x=128: LET y=80: LET c=0
40 PLOT INK c;x,y
50 LET k$=INKEY$
60 IF k$="q" AND y<166 THEN LET y=y+1
70 IF k$="a" AND y>0 THEN LET y=y-1
80 IF k$="o" AND x>0 THEN LET x=x-1
90 IF k$="p" AND x<255 THEN LET x=x+1
100 IF k$>="0" AND k$<="6" THEN LET c=VAL k$
110 IF k$="c" THEN CLS: GO TO 20
120 GO TO 40
