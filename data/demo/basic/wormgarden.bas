# Worm Garden: steer the worm to the apples with Q, A, O and P; don't bite yourself.
10 BORDER 4: PAPER 4: INK 0: CLS: RANDOMIZE
20 PRINT AT 0,0; PAPER 0; INK 7;" WORM GARDEN   QAOP   apples:  "
30 DIM x(64): DIM y(64)
40 LET n=3: LET h=3: LET dx=1: LET dy=0: LET s=0
50 FOR i=1 TO 3: LET x(i)=10+i: LET y(i)=10: PRINT AT 10,10+i; INK 3;"O": NEXT i
60 GO SUB 500
70 LET k$=INKEY$
80 IF k$="q" AND dy=0 THEN LET dx=0: LET dy=-1
90 IF k$="a" AND dy=0 THEN LET dx=0: LET dy=1
100 IF k$="o" AND dx=0 THEN LET dx=-1: LET dy=0
110 IF k$="p" AND dx=0 THEN LET dx=1: LET dy=0
120 LET nx=x(h)+dx: LET ny=y(h)+dy
130 IF nx<0 OR nx>31 OR ny<1 OR ny>21 THEN GO TO 900
140 LET c$=SCREEN$ (ny,nx)
150 IF c$="O" THEN GO TO 900
160 LET h=h+1: IF h>64 THEN LET h=1
170 LET x(h)=nx: LET y(h)=ny: PRINT AT ny,nx; INK 3;"O"
180 IF c$="*" THEN LET s=s+1: BEEP 0.02,20: IF n<60 THEN LET n=n+1: GO SUB 500: GO TO 70
185 IF c$="*" THEN GO SUB 500
190 LET t=h-n: IF t<1 THEN LET t=t+64
200 PRINT AT y(t),x(t);" "
210 GO TO 70
500 LET ax=INT (RND*32): LET ay=1+INT (RND*21)
510 IF SCREEN$ (ay,ax)<>" " THEN GO TO 500
520 PRINT AT ay,ax; INK 2; BRIGHT 1;"*"
530 PRINT AT 0,29; PAPER 0; INK 7;s: RETURN
900 PRINT AT 11,7; PAPER 2; INK 7;" THE WORM IS TIRED "
910 PRINT AT 13,6; PAPER 7;" ";s;" apples. Any key. "
920 PAUSE 0: RUN
