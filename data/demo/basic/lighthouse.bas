# The Lighthouse Keeper: a very small text adventure.
10 BORDER 1: PAPER 1: INK 7: CLS
20 PRINT INK 6;"THE LIGHTHOUSE KEEPER"''"The lamp has gone out and a ship is coming. Light it before dark!"
30 LET r=1: LET o=0: LET m=20
40 POKE 23692,255: PRINT
50 GO SUB 1000*r
60 LET m=m-1: IF m<0 THEN PRINT INK 2;"Too late! Night falls and the ship turns back.": STOP
65 IF m=4 THEN PRINT INK 5;"The sun is low over the sea."
70 INPUT "What now? "; LINE c$
80 IF c$="" THEN GO TO 70
85 LET u$="": FOR i=1 TO LEN c$: LET k=CODE c$(i): IF k>96 AND k<123 THEN LET k=k-32
90 LET u$=u$+CHR$ k: NEXT i
95 POKE 23692,255: PRINT INK 5;"> ";u$
100 IF u$="N" OR u$="NORTH" THEN GO TO 200
110 IF u$="S" OR u$="SOUTH" THEN GO TO 300
120 IF u$="U" OR u$="UP" THEN GO TO 400
130 IF u$="D" OR u$="DOWN" THEN GO TO 500
140 IF u$="GET OIL" OR u$="TAKE OIL" THEN GO TO 600
150 IF u$="LIGHT LAMP" OR u$="LIGHT" THEN GO TO 700
160 IF u$="LOOK" OR u$="L" THEN GO TO 40
170 PRINT "The gulls laugh. Try N, S, U, D,GET OIL, LIGHT LAMP or LOOK."
180 GO TO 60
200 IF r=1 THEN LET r=2: GO TO 40
205 IF r=4 THEN LET r=1: GO TO 40
210 PRINT "You can't go north.": GO TO 60
300 IF r=1 THEN LET r=4: GO TO 40
305 IF r=2 THEN LET r=1: GO TO 40
310 PRINT "You can't go south.": GO TO 60
400 IF r=2 THEN LET r=3: GO TO 40
410 PRINT "You can't go up.": GO TO 60
500 IF r=3 THEN LET r=2: GO TO 40
510 PRINT "You can't go down.": GO TO 60
600 IF r=4 AND o=0 THEN LET o=1: PRINT "You take the oil can.": GO TO 60
610 PRINT "There is no oil here.": GO TO 60
700 IF r<>3 THEN PRINT "There is no lamp here.": GO TO 60
710 IF o=0 THEN PRINT "The lamp is dry. It needs oil.": GO TO 60
720 PRINT INK 6; FLASH 1;"The lamp blazes!"; FLASH 0''"The ship sees the light and sails safely home. Well done, keeper!"
730 FOR i=0 TO 24: BEEP 0.03,i: NEXT i
740 STOP
1000 PRINT "You stand on a pebbly shore. The lighthouse rises to the north; a boat shed lies south.": RETURN
2000 PRINT "The foot of the tower. An iron stair winds up into the dark. The shore is south.": RETURN
3000 PRINT "The lamp room. Wide windows look over the grey sea.";: IF o=1 THEN PRINT " Your oil can sloshes.";
3010 PRINT : RETURN
4000 PRINT "A boat shed smelling of tar.";: IF o=0 THEN PRINT " An oil can sits on a shelf.";
4010 PRINT " The shore is north.": RETURN
