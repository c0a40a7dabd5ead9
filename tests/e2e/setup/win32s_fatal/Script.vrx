[Settings]
AppName=Demo
[Directories]
nbDir=4
0=,0,0,
1=,1,0,
2=,2,0,
3=,3,0,
