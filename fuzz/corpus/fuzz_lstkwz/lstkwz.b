0
0
1
Gomez
TODOS
