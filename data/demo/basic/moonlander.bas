# Moonlight Lander: burn just enough fuel to touch down gently.
10 BORDER 0: PAPER 0: INK 7: CLS
20 PRINT AT 0,8; INK 5;"MOONLIGHT LANDER"
30 PRINT AT 2,0;"Land softly: hold a key 1-9 to"'"burn fuel, 0 to drift."
40 PRINT AT 21,0; PAPER 7;"                                "
50 LET h=500: LET v=0: LET f=120: LET g=1.6: LET p=4
60 PRINT AT 6,2;"Height ";INT h;"   "
70 PRINT AT 7,2;"Speed  ";INT (v*10)/10;"   "
80 PRINT AT 8,2;"Fuel   ";f;"   "
90 PRINT AT p,23;"   ";AT p+1,24;" "
100 LET p=20-INT (h/31): IF p<4 THEN LET p=4
110 PRINT AT p,23; INK 6;"/=\\";AT p+1,24; INK 2;"V"
120 LET k$=INKEY$: LET b=0: IF k$>="0" AND k$<="9" THEN LET b=VAL k$
130 IF b>f THEN LET b=f
140 LET f=f-b: LET v=v+g-b*0.5: LET h=h-v
150 IF h>0 THEN PAUSE 5: GO TO 60
160 IF v<5 THEN PRINT AT 12,4; INK 4;"Touchdown! The crew cheers.": GO TO 180
170 PRINT AT 12,4; INK 2;"Crunch! Too fast by ";INT (v-5)+1;" m/s."
180 PRINT AT 14,4;"Press a key to fly again.": PAUSE 0: RUN
