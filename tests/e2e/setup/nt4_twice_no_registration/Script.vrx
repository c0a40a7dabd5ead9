[Settings]
AppName=Demo
ShowLicence=1
RegInfo=0
[Directories]
nbDir=4
0=,0,0,
1=,1,0,
2=,2,0,
3=,3,0,
[End]
0=recorder.exe u=[u];c=[c];s=[s]
