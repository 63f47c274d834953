int shared;
{
}
