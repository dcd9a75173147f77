# Rainbow Stripe: colour bars that shift one step with every key press.
10 BORDER 0: PAPER 0: INK 7: BRIGHT 1: CLS
20 PRINT AT 1,9; INK 6;"RAINBOW STRIPE"
30 PRINT AT 3,4; INK 5;"Kivo Demo Software 1984"
40 LET r$="264513": LET s=0
50 FOR y=6 TO 15: PRINT AT y,0;
60 FOR x=0 TO 31
70 LET c=INT ((x+y+s)/2): LET c=c-6*INT (c/6)
80 PRINT PAPER VAL r$(c+1);" ";
90 NEXT x: NEXT y
100 PRINT AT 20,1;"Press any key to shift, Q quits"
110 BEEP 0.05,s
120 LET k$=INKEY$: IF k$="" THEN GO TO 120
130 IF k$="q" OR k$="Q" THEN STOP
140 LET s=s+1: IF s>11 THEN LET s=0
150 IF INKEY$<>"" THEN GO TO 150
160 GO TO 50
