# Number Nook: guess the number in as few tries as you can.
10 BORDER 5: PAPER 7: INK 0: CLS
20 PRINT AT 0,9; PAPER 5;" NUMBER NOOK "
30 PRINT AT 2,0;"I am thinking of a number from"'"1 to 100. Can you find it?"'
40 RANDOMIZE
50 LET n=INT (RND*100)+1: LET t=0
60 INPUT "Your guess? ";g
70 LET t=t+1: POKE 23692,255
80 IF g<n THEN PRINT g;" is too low.": BEEP 0.1,0: GO TO 60
90 IF g>n THEN PRINT g;" is too high.": BEEP 0.1,12: GO TO 60
100 PRINT INK 2;"Yes! It was ";n;". ";t;" tries."
110 FOR i=0 TO 12: BEEP 0.04,i: NEXT i
120 INPUT "Again (y/n)? ";a$
130 IF a$="y" OR a$="Y" THEN CLS: GO TO 20
