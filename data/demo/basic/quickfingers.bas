# Quick Fingers: press the letter shown before it is gone.
10 BORDER 6: PAPER 6: INK 1: CLS: RANDOMIZE
20 PRINT AT 1,9; PAPER 1; INK 7;" QUICK FINGERS "
30 PRINT AT 3,1;"Press the letter you see, fast!"
40 LET s=0
50 FOR r=1 TO 10
60 LET c$=CHR$ (65+INT (RND*26))
70 PRINT AT 8,14; PAPER 7; INK 2;" ";c$;" "
80 LET t=0
90 LET k$=INKEY$: LET t=t+1: IF k$="" AND t<90 THEN GO TO 90
100 IF k$="" THEN PRINT AT 15,4;"Too slow!        ": BEEP 0.2,-10: GO TO 130
110 IF CODE k$<>CODE c$ AND CODE k$<>CODE c$+32 THEN PRINT AT 15,4;"Oops, that was ";k$;"  ": BEEP 0.2,-5: GO TO 130
120 LET s=s+1: PRINT AT 15,4;"Caught it!       ": BEEP 0.02,24
130 PRINT AT 11,4;"Round ";r;" of 10   Score ";s;" "
140 IF INKEY$<>"" THEN GO TO 140
150 NEXT r
160 PRINT AT 17,3; INK 2;"Done! ";s;" out of 10 caught."
170 PRINT AT 19,3;"Press a key to play again."
180 PAUSE 0: RUN
