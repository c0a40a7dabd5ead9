[Settings]
AppName=Demo
