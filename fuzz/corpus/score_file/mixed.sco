Ann 10
Bob Smith 20
noscore
  -5
Max 99999999999

x -99999999999
last 1